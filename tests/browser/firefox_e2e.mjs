// End-to-end test of the browser integration in Firefox: the system Firefox ESR in a real
// window on the display, the packages' Firefox copy of the extension installed as a temporary
// add-on, the host manifest in the test's own home, and the real vantu.exe under Wine
// receiving the selection through the real context menu, picked with the mouse.
//
// Environment: see harness.mjs; MORVEL_FIREFOX_EXTENSION (the Firefox copy of the extension
// that the build makes), DISPLAY, optionally MORVEL_SHOTS_DIR; needs xdotool.
import puppeteer from "puppeteer-core";
import path from "node:path";
import {
  bar, check, finish, run, select, sleep, testPage, until, waitForKeyword, work,
  writeHostManifest,
} from "./harness.mjs";

const extensionDir = process.env.MORVEL_FIREFOX_EXTENSION;
if (!extensionDir) throw new Error("MORVEL_FIREFOX_EXTENSION is not set");
const EXTENSION_ID = "vantu@morvel.jp";

// Firefox on Linux finds per-user host manifests in ~/.mozilla/native-messaging-hosts.
const home = path.join(work, "home");
writeHostManifest(path.join(home, ".mozilla/native-messaging-hosts"), {
  allowed_extensions: [EXTENSION_ID],
});

// Firefox with that home for everything of its own (the profile is the test's too).
const firefoxEnv = { ...process.env, HOME: home };
for (const name of ["XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"]) delete firefoxEnv[name];

// A script in the browser window's own (privileged) scope: what the user sees in the menu and
// what Firefox reports about the add-on. The value travels as JSON.
async function inBrowserWindow(browser, body) {
  const { result: tree } = await browser.connection.send("browsingContext.getTree", {
    "moz:scope": "chrome",
  });
  const { result } = await browser.connection.send("script.evaluate", {
    expression: `(async () => JSON.stringify(await (async () => { ${body} })()))()`,
    target: { context: tree.contexts[0].context },
    awaitPromise: true,
  });
  if (result.type !== "success") throw new Error(JSON.stringify(result.exceptionDetails));
  return JSON.parse(result.result.value ?? "null");
}

// The extension's item in the open context menu: its label and the middle of it on the screen.
const MENU_ITEM = `
  const menu = document.getElementById("contentAreaContextMenu");
  const item = menu.querySelector('menuitem[id$="-menuitem-_morvel-search"]');
  if (menu.state !== "open" || !item) return { open: menu.state === "open" };
  const box = menu.getBoundingClientRect(), at = item.getBoundingClientRect();
  const screen = menu.getOuterScreenRect();
  return { open: true, label: item.label, x: Math.round(screen.x + at.x - box.x + at.width / 2),
           y: Math.round(screen.y + at.y - box.y + at.height / 2) };`;

// As a user does it: the browser's window in front, a right click on the selected text, the
// pointer onto the extension's item and a left click. Gives the selection and the item's label.
// Without a window manager the keyboard focus follows the pointer; the browser's window keeps
// it, as a window manager would let it, so that the menu stays open when the pointer enters it.
async function pickMenuItem(browser, page, id, shot) {
  const found = await run("xdotool", ["search", "--pid", String(browser.process().pid),
    "--onlyvisible", "--name", "Morvel test page"]);
  const window = found.stdout.trim().split("\n")[0];
  await run("xdotool", ["windowraise", window, "windowfocus", "--sync", window]);
  const text = await select(page, id);
  const spot = await page.evaluate((id) => {
    const box = document.getElementById(id).getBoundingClientRect();
    return { x: Math.round(mozInnerScreenX + box.x + 30),
      y: Math.round(mozInnerScreenY + box.y + box.height / 2) };
  }, id);
  // The add-on adds its item when it has started: until then the menu opens without it.
  let item;
  for (let attempt = 0; attempt < 5 && !item?.label; attempt++) {
    if (item?.open) await run("xdotool", ["key", "Escape"]);
    await run("xdotool", ["mousemove", String(spot.x), String(spot.y), "click", "3"]);
    item = await until(async () => {
      const menu = await inBrowserWindow(browser, MENU_ITEM);
      return { ...menu, done: !!menu.label };
    }, 2000);
  }
  if (!item?.label) throw new Error(`no item of the add-on in the context menu: ${JSON.stringify(item)}`);
  await run("xdotool", ["mousemove", String(item.x), String(item.y)]);
  await sleep(200);
  if (shot) {
    await run("import", ["-window", "root", "-crop", "910x520+0+0", "+repage", shot],
      { timeout: 20000 });
  }
  await run("xdotool", ["click", "1"]);
  return { text, label: item.label };
}

await finish(async () => {
  const started = Date.now();
  const browser = await puppeteer.launch({
    browser: "firefox",
    executablePath: "/usr/bin/firefox-esr",
    headless: false,
    userDataDir: path.join(work, "profile"),
    args: ["--remote-allow-system-access", "--width=900", "--height=500"],
    env: firefoxEnv,
    defaultViewport: null,
    timeout: 30000,
  });
  try {
    const id = await browser.installExtension(extensionDir);
    console.log(`Firefox start and the add-on's install: ${Date.now() - started} ms`);
    check(id === EXTENSION_ID, "the add-on has its fixed id", id);
    const warnings = await inBrowserWindow(browser,
      `const { ExtensionParent } = ChromeUtils.importESModule("resource://gre/modules/ExtensionParent.sys.mjs");
       return ExtensionParent.GlobalManager.getExtension(${JSON.stringify(EXTENSION_ID)}).warnings;`);
    check(warnings.length === 0, "Firefox reads the manifest without a warning", JSON.stringify(warnings));

    const [page] = await browser.pages();
    await page.goto(`file://${testPage}`);
    // vantu.exe is not running: the bridge starts it hidden and the host shows it.
    check(!(await bar()).present, "no search bar before the first click");
    let picked = await pickMenuItem(browser, page, "one");
    check(picked.label === `Morvel で検索: "${picked.text.trim()}"`, "the item names the selection",
      picked.label);
    let b = await waitForKeyword("Morvel 検索テスト");
    check(b.keyword === "Morvel 検索テスト", "selection reaches the started bar, trimmed",
      JSON.stringify(b));
    check(b.visible && !b.iconic, "the started bar is shown", JSON.stringify(b));

    // The bar is running now.
    const shots = process.env.MORVEL_SHOTS_DIR;
    picked = await pickMenuItem(browser, page, "two",
      shots && path.join(shots, "firefox-context-menu.png"));
    check(picked.label === 'Morvel で検索: "ｶﾅ and 漢字"', "the item names kana and kanji as they are",
      picked.label);
    b = await waitForKeyword(picked.text);
    check(b.keyword === "ｶﾅ and 漢字", "the running bar gets the selection", JSON.stringify(b));
    check(b.foreground, "the bar is in front", JSON.stringify(b));
    console.log(`Firefox run: ${Date.now() - started} ms`);
  } finally {
    await browser.close();
  }
});
