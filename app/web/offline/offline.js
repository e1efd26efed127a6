// offline.js: lets the browser keep ヨポ for play without a server (sw.js),
// once the game has painted, so that caching never delays the first frame.

async function keepForOffline() {
    try {
        await window.yopo.ready;
    } catch {
        // A page that cannot start now may still be kept for the next visit.
    }
    const registration = await navigator.serviceWorker.register('sw.js');
    // A version found while an earlier page played has waited; this page has
    // just loaded, so nothing is lost by moving to the new one now: a bath
    // under way is kept (keep.js) and the new version takes it up.
    const waiting = registration.waiting;
    if (waiting && navigator.serviceWorker.controller) {
        navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(),
                                                 {once: true});
        waiting.postMessage('take-over');
    }
}

if ('serviceWorker' in navigator) {
    if (document.readyState === 'complete') {
        keepForOffline();
    } else {
        window.addEventListener('load', keepForOffline, {once: true});
    }
}
