// What the browser tests share: the program folder they run, the launcher that starts
// morvel-host.exe under Wine, the host manifests, the test page, the search bar's state read
// under Wine, the checks and the run's end.
//
// Environment: MORVEL_DIST (the ready-to-run folder), MORVEL_HELPERS (folder of bar_probe.exe),
// MORVEL_WINE, WINEPREFIX, MORVEL_WORK (a scratch folder).
import { execFile, spawn } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { promisify } from "node:util";

export const run = promisify(execFile);
export const HOST_NAME = "jp.morvel.vantu";

const env = (name) => {
  const v = process.env[name];
  if (!v) throw new Error(`${name} is not set`);
  return v;
};
const dist = env("MORVEL_DIST");
const helpers = env("MORVEL_HELPERS");
const wine = env("MORVEL_WINE");
export const work = env("MORVEL_WORK");

let failures = 0;
let checks = 0;
export function check(ok, what, detail = "") {
  checks++;
  if (!ok) failures++;
  console.log(`${ok ? "ok  " : "FAIL"} ${what}${ok || !detail ? "" : ` — ${detail}`}`);
}
export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
export async function until(fn, timeoutMs, stepMs = 150) {
  const end = Date.now() + timeoutMs;
  let last;
  while (Date.now() < end) {
    last = await fn();
    if (last.done) return last;
    await sleep(stepMs);
  }
  return last ?? (await fn());
}

// The program folder: a copy of the ready-to-run folder, so the settings it writes stay here.
export const programDir = path.join(work, "program");
fs.rmSync(work, { recursive: true, force: true });
fs.mkdirSync(programDir, { recursive: true });
for (const name of fs.readdirSync(dist)) fs.copyFileSync(path.join(dist, name), path.join(programDir, name));

// The host manifests name this launcher. It keeps Wine's stderr in a file (Wine's services
// inherit it and hold it open) and runs Wine with the user's own home, whatever the browser's.
export const launcher = path.join(work, "morvel-host-launcher.sh");
export const hostLog = path.join(work, "host-stderr.log");
const q = (s) => `'${s.replaceAll("'", "'\\''")}'`;
fs.writeFileSync(
  launcher,
  `#!/bin/sh\nHOME=${q(process.env.HOME ?? "/")} exec ${q(wine)} ` +
    `${q(path.join(programDir, "morvel-host.exe"))} "$@" 2>>${q(hostLog)}\n`,
  { mode: 0o755 },
);
// Writes the host manifest into a browser's folder of them; allowed names the extension in
// the browser's own terms (allowed_origins or allowed_extensions).
export function writeHostManifest(dir, allowed) {
  fs.mkdirSync(dir, { recursive: true });
  const file = path.join(dir, `${HOST_NAME}.json`);
  fs.writeFileSync(
    file,
    JSON.stringify({ name: HOST_NAME, description: "Morvel search bar (test)", path: launcher,
      type: "stdio", ...allowed }),
  );
  return file;
}

export const testPage = path.join(work, "page.html");
fs.writeFileSync(
  testPage,
  `<!DOCTYPE html><html lang="ja"><meta charset="utf-8"><title>Morvel test page</title>
<body style="font: 24px sans-serif; margin: 40px">
<p id="one">  Morvel 検索テスト  </p>
<p id="two">ｶﾅ and 漢字</p>
</body></html>`,
);

// Selects the text of an element on the page and gives the selection's text.
export async function select(page, id) {
  return page.evaluate((id) => {
    const range = document.createRange();
    range.selectNodeContents(document.getElementById(id));
    const sel = getSelection();
    sel.removeAllRanges();
    sel.addRange(range);
    return sel.toString();
  }, id);
}

// The first Wine program of a session starts Wine's services, which inherit its standard
// handles and hold them open: a probe whose output comes through a pipe would wait for them
// until its time-out. So the first one runs with its output discarded, while the browser starts.
const wineStarted = new Promise((resolve) => {
  const first = spawn(wine, [path.join(helpers, "bar_probe.exe")], { stdio: "ignore" });
  first.on("exit", resolve);
  first.on("error", resolve);
});

// The search bar's state, read under Wine by a small probe.
export async function bar() {
  await wineStarted;
  const { stdout } = await run(wine, [path.join(helpers, "bar_probe.exe")], { timeout: 20000 });
  const line = stdout.trim().split("\n").pop() ?? "";
  const fields = Object.fromEntries(line.split(" ").map((f) => f.split("=")));
  if (fields.bar !== "1") return { present: false };
  const bytes = Buffer.from(fields.keyword ?? "", "hex");
  return {
    present: true,
    visible: fields.visible === "1",
    iconic: fields.iconic === "1",
    foreground: fields.foreground === "1",
    keyword: new TextDecoder("shift_jis").decode(bytes),
  };
}
export async function waitForKeyword(keyword, timeoutMs = 20000) {
  return until(async () => {
    const b = await bar();
    return { ...b, done: b.present && b.keyword === keyword && b.visible };
  }, timeoutMs);
}
export async function closeBar() {
  await run(wine, [path.join(helpers, "bar_probe.exe"), "close"], { timeout: 20000 });
}

// Runs the test's body under a watchdog, closes the bar afterwards, shows what the host wrote
// to stderr and ends the process with the result.
export async function finish(body, timeoutMs = 110000) {
  const watchdog = setTimeout(() => {
    console.log("FAIL the test took too long");
    process.exit(2);
  }, timeoutMs);
  try {
    await body();
    if (checks) console.log(`${checks - failures} of ${checks} checks passed`);
  } catch (e) {
    failures++;
    console.log(`FAIL ${e.stack ?? e}`);
  } finally {
    clearTimeout(watchdog);
    try {
      await closeBar();
    } catch {}
    if (fs.existsSync(hostLog) && fs.statSync(hostLog).size > 0)
      console.log(`host stderr (${hostLog}):\n${fs.readFileSync(hostLog, "utf8").slice(-2000)}`);
  }
  process.exit(failures ? 1 : 0);
}
