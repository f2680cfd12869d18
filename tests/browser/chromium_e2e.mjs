// End-to-end test of the browser integration: the system Chromium with the unpacked Morvel
// extension, the Linux-side host manifest naming a launcher that runs morvel-host.exe under
// Wine, and the real vantu.exe under Wine receiving the selection.
//
// Environment: see harness.mjs; optionally MORVEL_SHOTS_DIR.
// Arguments: --menu also runs once with a real window through the real context menu
// (needs DISPLAY and xdotool); --bench N measures N warm round trips instead of testing.
import { chromium } from "playwright-core";
import fs from "node:fs";
import path from "node:path";
import {
  bar, check, closeBar, finish, programDir, run, select, sleep, testPage, until, waitForKeyword,
  work, writeHostManifest,
} from "./harness.mjs";

const here = path.dirname(new URL(import.meta.url).pathname);
const root = path.resolve(here, "../..");
const extensionDir = path.join(root, "browser/extension");
const EXTENSION_ID = "ileoknfgfokkeieckaakfgoeebbpdkgb";
const args = process.argv.slice(2);
const withMenu = args.includes("--menu");
const benchIndex = args.indexOf("--bench");
const benchRounds = benchIndex >= 0 ? Number(args[benchIndex + 1] ?? 20) : 0;

// Chromium finds per-user host manifests in the profile's NativeMessagingHosts folder.
const profileDir = path.join(work, "profile");
const manifestDir = path.join(profileDir, "NativeMessagingHosts");
const writeChromiumManifest = () =>
  writeHostManifest(manifestDir, { allowed_origins: [`chrome-extension://${EXTENSION_ID}/`] });
const manifestPath = writeChromiumManifest();
// A Japanese page in a browser without its Japanese UI: no offer to translate it.
fs.mkdirSync(path.join(profileDir, "Default"), { recursive: true });
fs.writeFileSync(path.join(profileDir, "Default/Preferences"), JSON.stringify({ translate: { enabled: false } }));

async function launch(headless) {
  const started = Date.now();
  const context = await chromium.launchPersistentContext(profileDir, {
    executablePath: "/usr/bin/chromium",
    headless,
    timeout: 30000,
    viewport: { width: 900, height: 500 },
    locale: "ja-JP",
    args: [
      `--disable-extensions-except=${extensionDir}`,
      `--load-extension=${extensionDir}`,
      "--window-position=0,0",
      "--lang=ja",
      "--test-type", // no bar about the sandbox that is off for root
    ],
  });
  const worker =
    context.serviceWorkers()[0] ?? (await context.waitForEvent("serviceworker", { timeout: 20000 }));
  const workerMs = Date.now() - started;
  const page = context.pages()[0] ?? (await context.newPage());
  await page.goto(`file://${testPage}`);
  return { context, worker, page, workerMs };
}

// The click on the menu item as the browser reports it to the registered listener.
async function clickItem(worker, selectionText) {
  await worker.evaluate(async (selectionText) => {
    const [tab] = await chrome.tabs.query({ active: true });
    chrome.contextMenus.onClicked.dispatch(
      { menuItemId: "morvel-search", selectionText, editable: false, pageUrl: tab?.url },
      tab,
    );
  }, selectionText);
}
async function badge(worker) {
  return worker.evaluate(async () => ({
    text: await chrome.action.getBadgeText({}),
    title: await chrome.action.getTitle({}),
  }));
}

async function headlessRun() {
  const { context, worker, page, workerMs } = await launch(true);
  try {
    console.log(`Chromium start to the extension's worker: ${workerMs} ms`);
    check(worker.url() === `chrome-extension://${EXTENSION_ID}/background.js`,
      "the extension has its fixed id", worker.url());

    // vantu.exe is not running: the bridge starts it hidden and the host shows it.
    let b = await bar();
    check(!b.present, "no search bar before the first click");
    const first = await select(page, "one");
    await clickItem(worker, first);
    b = await waitForKeyword("Morvel 検索テスト");
    check(b.present && b.keyword === "Morvel 検索テスト", "selection reaches the started bar, trimmed",
      JSON.stringify(b));
    check(b.visible && !b.iconic, "the started bar is shown", JSON.stringify(b));
    let state = await badge(worker);
    check(state.text === "" && state.title === "Morvel", "no error shown", JSON.stringify(state));

    // The bar is running now: a selection with a CR LF pair, as the old script passed it.
    await clickItem(worker, "abc\r\ndef");
    b = await waitForKeyword("abc def");
    check(b.keyword === "abc def", "CR LF becomes one space at the running bar", JSON.stringify(b));
    const second = await select(page, "two");
    await clickItem(worker, second);
    b = await waitForKeyword("ｶﾅ and 漢字");
    check(b.keyword === "ｶﾅ and 漢字", "half-width kana and kanji arrive in Shift-JIS", JSON.stringify(b));
    check(b.foreground, "the bar is in front", JSON.stringify(b));

    // No bar and no vantu.exe: the user reads why, in Japanese, on the badge and its tooltip.
    await closeBar();
    fs.renameSync(path.join(programDir, "vantu.exe"), path.join(programDir, "vantu.exe.off"));
    await clickItem(worker, "abc");
    state = (await until(async () => {
      const s = await badge(worker);
      return { ...s, done: s.text === "!" };
    }, 20000));
    check(state.text === "!" && state.title === "Morvel: 「Morvel」本体が見つかりません。",
      "a missing program is reported in Japanese", JSON.stringify(state));
    // The action's popup says the same.
    const popup = await context.newPage();
    await popup.setViewportSize({ width: 340, height: 140 });
    await popup.goto(`chrome-extension://${EXTENSION_ID}/popup.html`);
    const said = await popup.locator("#state").textContent();
    check(said === "「Morvel」本体が見つかりません。", "the popup shows the message", said);
    if (process.env.MORVEL_SHOTS_DIR)
      await popup.screenshot({ path: path.join(process.env.MORVEL_SHOTS_DIR, "extension-popup.png") });
    await popup.close();
    fs.renameSync(path.join(programDir, "vantu.exe.off"), path.join(programDir, "vantu.exe"));

    // The host is not registered at all.
    fs.rmSync(manifestPath);
    await clickItem(worker, "abc");
    state = await until(async () => {
      const s = await badge(worker);
      return { ...s, done: s.title.includes("morvel-host.exe") };
    }, 10000);
    check(state.text === "!" && state.title.includes("を起動できません"),
      "a host that cannot be started is reported", JSON.stringify(state));
    writeChromiumManifest();

    // A success clears the error again (and starts the program again).
    await clickItem(worker, "again");
    b = await waitForKeyword("again");
    state = await badge(worker);
    check(b.keyword === "again" && state.text === "", "a success clears the badge",
      JSON.stringify({ b, state }));
  } finally {
    await context.close();
  }
}

// Once with a real window on the display: right click on the selection, then the item is
// picked from the real context menu with the keyboard.
async function menuRun() {
  const { context, page } = await launch(false);
  try {
    await page.bringToFront();
    const text = await select(page, "two");
    const box = await page.locator("#two").boundingBox();
    await page.mouse.click(box.x + 30, box.y + box.height / 2, { button: "right" });
    await sleep(1500);
    const shots = process.env.MORVEL_SHOTS_DIR;
    if (shots) {
      await run("import", ["-window", "root", "-crop", "910x520+0+0", "+repage",
        path.join(shots, "chromium-context-menu.png")], {
        env: process.env,
        timeout: 20000,
      });
    }
    // The item is the extension's only one, shown under its own name with its icon; its
    // title begins with "M", which picks it (the menu's first such item).
    await run("xdotool", ["key", "--clearmodifiers", "m"], { timeout: 10000 });
    await sleep(300);
    if ((await bar()).keyword !== text) {
      console.log("(the item's letter did not pick it: Enter on the highlighted item)");
      await run("xdotool", ["key", "Return"], { timeout: 10000 });
    }
    const b = await waitForKeyword(text, 20000);
    check(b.keyword === text, "the real context menu item sends the selection", JSON.stringify(b));

    // The keyboard command on the page's selection.
    await page.bringToFront();
    await select(page, "one");
    await run("xdotool", ["key", "--clearmodifiers", "alt+shift+m"], { timeout: 10000 });
    const c = await waitForKeyword("Morvel 検索テスト", 20000);
    check(c.keyword === "Morvel 検索テスト", "Alt+Shift+M sends the selection", JSON.stringify(c));
  } finally {
    await context.close();
  }
}

async function bench(rounds) {
  const { context, worker, workerMs } = await launch(true);
  try {
    const times = await worker.evaluate(async (rounds) => {
      const out = [];
      for (let i = 0; i < rounds + 1; i++) {
        const t = performance.now();
        const answer = await chrome.runtime.sendNativeMessage("jp.morvel.vantu", { text: `bench ${i}` });
        if (!answer?.ok) throw new Error(JSON.stringify(answer));
        out.push(performance.now() - t);
      }
      return out;
    }, rounds);
    const cold = times.shift();
    times.sort((a, b) => a - b);
    const median = times[Math.floor(times.length / 2)];
    console.log(JSON.stringify({ workerStartMs: workerMs, coldRoundTripMs: Math.round(cold),
      warmMedianMs: Math.round(median), warmMinMs: Math.round(times[0]),
      warmMaxMs: Math.round(times[times.length - 1]), rounds }));
  } finally {
    await context.close();
  }
}

await finish(async () => {
  if (benchRounds) {
    await bench(benchRounds);
  } else {
    await headlessRun();
    if (withMenu) await menuRun();
  }
});
