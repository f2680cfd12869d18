// Morvel browser extension: the selection on a web page goes to the Morvel search bar
// through the native messaging host morvel-host.exe. The same script serves Chromium-family
// browsers (service worker) and Firefox (event page).
"use strict";

const api = globalThis.browser ?? globalThis.chrome;

const HOST_NAME = "jp.morvel.vantu";
const MENU_ID = "morvel-search";
const COMMAND = "search-selection";
const TITLE = "Morvel";

// What the user reads when something went wrong, by the host's error code.
const MESSAGES = {
  "host-unreachable":
    "連携プログラム morvel-host.exe を起動できません。「Morvel」の設定の「IE連携」ページで" +
    "「Chrome・Edge・Firefox の右クリックメニューに「Morvel」を追加」をオンにしてください。",
  "program-missing": "「Morvel」本体が見つかりません。",
  "bridge-missing": "Pelka.dll が morvel-host.exe と同じフォルダーに見つかりません。",
  "bridge-failed": "Pelka.dll を読み込めませんでした。",
  "bar-not-found": "「Morvel」を起動しましたが、検索バーが開きませんでした。",
  "empty-text": "検索する文字列が選ばれていません。",
  "too-long": "選んだ文字列が長すぎます。",
  "no-page-access": "このページでは選んだ文字列を読み取れません。右クリックメニューをお使いください。",
};
const FALLBACK = "連携プログラムとの通信に失敗しました";

function messageFor(code) {
  return MESSAGES[code] ?? `${FALLBACK} (${code})。`;
}

// The action's badge and tooltip say how the last request went; the popup shows the tooltip.
async function showResult(code) {
  if (code === null) {
    await api.action.setBadgeText({ text: "" });
    await api.action.setTitle({ title: TITLE });
    return;
  }
  await api.action.setBadgeBackgroundColor({ color: "#D00000" });
  await api.action.setBadgeText({ text: "!" });
  await api.action.setTitle({ title: `${TITLE}: ${messageFor(code)}` });
}

// Sends the selection to the host; resolves with null on success or the error code.
async function sendSelection(text) {
  let code;
  if (typeof text !== "string" || text.trim() === "") {
    code = "empty-text";
  } else {
    try {
      const answer = await api.runtime.sendNativeMessage(HOST_NAME, { text });
      code = answer && answer.ok === true ? null : String(answer?.error ?? "no-answer");
    } catch (e) {
      code = "host-unreachable";
    }
  }
  await showResult(code);
  return code;
}

// The selection of the page in the active tab, for the keyboard command (the browser grants
// the tab to the extension for that command only). Text fields keep their own selection.
function readSelection() {
  const field = document.activeElement;
  if (field && (field.tagName === "TEXTAREA" || field.tagName === "INPUT") &&
      typeof field.selectionStart === "number") {
    return field.value.substring(field.selectionStart, field.selectionEnd);
  }
  return String(globalThis.getSelection?.() ?? "");
}

async function selectionOfTab(tab) {
  const target = tab ?? (await api.tabs.query({ active: true, currentWindow: true }))[0];
  if (!target?.id) return { error: "no-page-access" };
  try {
    const results = await api.scripting.executeScript({
      target: { tabId: target.id, allFrames: true },
      func: readSelection,
    });
    const found = results.map((r) => r?.result).find((t) => typeof t === "string" && t !== "");
    return { text: found ?? "" };
  } catch (e) {
    return { error: "no-page-access" };
  }
}

function createMenu() {
  api.contextMenus.removeAll(() => {
    api.contextMenus.create({
      id: MENU_ID,
      title: 'Morvel で検索: "%s"',
      contexts: ["selection"],
    });
  });
}

api.runtime.onInstalled.addListener(createMenu);
api.runtime.onStartup.addListener(createMenu);

api.contextMenus.onClicked.addListener((info) => {
  if (info.menuItemId === MENU_ID) sendSelection(info.selectionText ?? "");
});

api.commands.onCommand.addListener(async (command, tab) => {
  if (command !== COMMAND) return;
  const { text, error } = await selectionOfTab(tab);
  if (error) await showResult(error);
  else await sendSelection(text);
});

// For the popup and for tests: the last result and a way to send a text.
globalThis.morvel = { sendSelection, messageFor };
