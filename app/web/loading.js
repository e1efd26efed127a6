// loading.js: the one line the page shows when the game cannot be loaded.
// It runs before yopo.js, so that if yopo.js, or a module it imports (the
// core's loader, the face's), cannot be fetched, the player reads that
// rather than "読み込んでいます…" for ever. From then on yopo.js says it.

export const kCannotLoad =
    "ヨポを読み込めませんでした。接続を確かめて、ページを読み込み直してください。";

document.querySelector('script[src="yopo.js"]')?.addEventListener("error", () => {
    const line = document.getElementById("load-state");
    line.textContent = kCannotLoad;
    line.hidden = false;
});
