// bare.js: the floor the web page is measured against: one canvas painted
// with one rectangle, three buttons, a label. With ?tick it also runs a
// precise 6 s timer that rewrites the label and repaints, the least a ticking
// page can do; with ?shake, a precise 50 ms timer that moves the client area
// 7 px aside and back and repaints it in another colour.
const canvas = document.getElementById('form');
const label = document.getElementById('label');
const area = document.getElementById('window');
const paint2d = canvas.getContext('2d', {alpha: false});

function paint(colour) {
    paint2d.fillStyle = '#ffffff';
    paint2d.fillRect(0, 0, canvas.width, canvas.height);
    paint2d.fillStyle = colour;
    paint2d.fillRect(15, 185, 320, 160);
}

paint('#c0ffff');
requestAnimationFrame(() => performance.mark('yopo-first-paint'));

// A timer aimed at start + n * interval, as ヨポ's is.
function every(interval, step) {
    const start = performance.now();
    window.timerStart = start;
    let n = 0;
    const arm = () => {
        n += 1;
        setTimeout(() => {
            step(n);
            arm();
        }, Math.max(0, start + n * interval - performance.now()));
    };
    arm();
}

const mode = new URLSearchParams(location.search);
if (mode.has('tick')) {
    every(6000, (n) => {
        label.textContent = `${n}`;
        paint(n % 2 ? '#c0ffff' : '#ffc0ff');
    });
}
if (mode.has('shake')) {
    every(50, (n) => {
        area.style.transform = n % 2 ? 'translateX(-7px)' : '';
        paint(n % 2 ? '#ffffff' : '#ff0000');
    });
}
