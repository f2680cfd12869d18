"use strict";
// Shows how the last request went: the action's tooltip holds the message.
const api = globalThis.browser ?? globalThis.chrome;
api.action.getTitle({}).then((title) => {
  const text = title.startsWith("Morvel: ") ? title.slice("Morvel: ".length) : "";
  document.getElementById("state").textContent = text || "エラーはありません。";
});
