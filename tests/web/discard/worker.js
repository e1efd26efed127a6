// worker.js: nothing of its own; the tests call chrome.tabs through it.
