// offline.js: lets the browser keep ヨポ for play without a server (sw.js),
// once the game has painted, so that caching never delays the first frame.

async function keepForOffline() {
    let running = true;
    try {
        await window.yopo.ready;
    } catch {
        // A page that cannot start now may still be kept for the next visit.
        running = false;
    }
    // A page whose bath has not begun may change to a newer version at once.
    const begun = running && JSON.parse(window.yopo.state()).Phase !== 0;
    const registration = await navigator.serviceWorker.register('sw.js');
    // A version found while an earlier page played has waited; this page has
    // just loaded, so nothing is lost by moving to the new one now.
    const waiting = registration.waiting;
    if (waiting && navigator.serviceWorker.controller && !begun) {
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
