#!/usr/bin/env node
// serve-web.mjs [FOLDER] [--port N] [--open]: serves ヨポ's web site (by
// default build-web/site) on 127.0.0.1, as any static web server would, with
// the headers the page wants from a real one: .wasm as application/wasm, a
// Content-Security-Policy that no other site may frame it under, and no
// guessing at types. An address it cannot serve is answered 400 or 404 and
// the server goes on. --open opens the page in the desktop's browser; the
// address is printed either way. The web tests and bench/web start the same
// server in their own process (import {serve}).
import {spawn} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {fileURLToPath} from 'node:url';

const kTypes = {
    '.html': 'text/html; charset=utf-8',
    '.css': 'text/css; charset=utf-8',
    '.js': 'text/javascript; charset=utf-8',
    '.mjs': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm',
    '.webmanifest': 'application/manifest+json; charset=utf-8',
    '.json': 'application/json; charset=utf-8',
    '.txt': 'text/plain; charset=utf-8',
    '.png': 'image/png',
    '.gif': 'image/gif',
    '.jpg': 'image/jpeg',
    '.ico': 'image/vnd.microsoft.icon',
    '.woff2': 'font/woff2',
    '.ttf': 'font/ttf',
};

// Sent with every answer. The page's own policy (in index.html) names what
// it loads; these are what only a server can say, or what a page that is
// framed, given a <base> or made to post a form must never do.
export const kHeaders = {
    'Content-Security-Policy': "frame-ancestors 'none'; base-uri 'none'; form-action 'none'",
    'X-Content-Type-Options': 'nosniff',
};

// An address no file answers to, or one that cannot be read at all.
class Refused extends Error {
    constructor(status) {
        super(String(status));
        this.status = status;
    }
}

// The file an address names under one of the folders, or a Refused.
function fileFor(roots, request) {
    if (request.method !== 'GET' && request.method !== 'HEAD') {
        throw new Refused(404);
    }
    let url;
    try {
        url = new URL(request.url, 'http://127.0.0.1');
    } catch {
        throw new Refused(400);
    }
    const found = roots.find(([prefix]) => url.pathname.startsWith(prefix));
    if (!found) {
        throw new Refused(404);
    }
    const [prefix, root] = found;
    let relative;
    try {
        relative = decodeURIComponent(url.pathname.slice(prefix.length));
    } catch {
        throw new Refused(400); // a % that starts no character
    }
    if (relative.includes('\0')) {
        throw new Refused(400);
    }
    if (relative === '' || relative.endsWith('/')) {
        relative += 'index.html';
    }
    const candidate = path.join(root, relative);
    // Nothing outside the folder, whatever the address says.
    if (!candidate.startsWith(root + path.sep) || !fs.statSync(candidate).isFile()) {
        throw new Refused(404);
    }
    return candidate;
}

// Serves each folder under its URL prefix ('/' for the site). Resolves to
// {url, server, close()}; close() drops every connection, as a server that
// went away would.
export function serve(folders, port = 0) {
    const roots = Object.entries(typeof folders === 'string' ? {'/': folders} : folders)
        .map(([prefix, root]) => [prefix, path.resolve(root)])
        .sort(([a], [b]) => b.length - a.length);
    const server = http.createServer((request, response) => {
        let body;
        let file;
        try {
            file = fileFor(roots, request);
            body = fs.readFileSync(file);
        } catch (error) {
            const status = error instanceof Refused ? error.status : 404;
            response.writeHead(status, {...kHeaders, 'Content-Type': 'text/plain; charset=utf-8'});
            response.end(status === 400 ? 'bad request\n' : 'not found\n');
            return;
        }
        response.writeHead(200, {
            ...kHeaders,
            'Content-Type': kTypes[path.extname(file)] || 'application/octet-stream',
            'Content-Length': body.length,
            // Always asked again, so that a rebuilt site is seen at once; the
            // service worker keeps its own copy for playing offline.
            'Cache-Control': 'no-cache',
        });
        response.end(request.method === 'HEAD' ? undefined : body);
    });
    return new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, '127.0.0.1', () => {
            server.off('error', reject);
            resolve({
                url: `http://127.0.0.1:${server.address().port}/`,
                server,
                close() {
                    server.closeAllConnections();
                    return new Promise((done) => server.close(() => done()));
                },
            });
        });
    });
}

const here = path.dirname(fileURLToPath(import.meta.url));

function main(args) {
    const open = args.includes('--open');
    const portAt = args.indexOf('--port');
    // A fixed port keeps the same address, and so the same offline copy and
    // installed app, from one start to the next.
    const port = portAt >= 0 ? Number(args[portAt + 1]) : 8765;
    const folder = path.resolve(args.find((arg, i) => !arg.startsWith('--') && args[i - 1] !== '--port') ??
                                path.join(here, '..', 'build-web', 'site'));
    if (!fs.existsSync(path.join(folder, 'index.html'))) {
        console.error(`serve-web: no index.html in ${folder}: build the web preset first`);
        process.exit(1);
    }
    serve(folder, port).catch((error) => {
        if (error.code !== 'EADDRINUSE' || portAt >= 0) {
            throw error;
        }
        return serve(folder, 0);
    }).then(({url}) => {
        console.log(`ヨポ is served at ${url} (Ctrl+C stops it)`);
        if (open && (process.env.DISPLAY || process.env.WAYLAND_DISPLAY)) {
            const browser = spawn('xdg-open', [url], {stdio: 'ignore', detached: true});
            browser.on('error', () => console.log('serve-web: no browser could be opened; open the address above'));
            browser.unref();
        } else if (open) {
            console.log('serve-web: no desktop to open a browser on; open the address above');
        }
    }).catch((error) => {
        console.error(`serve-web: ${error.message}`);
        process.exit(1);
    });
}

if (process.argv[1] && fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url)) {
    main(process.argv.slice(2));
}
