/*
 * What the page's tests, its pictures and its benchmark share: build/web
 * served on a free port of 127.0.0.1 by Debian's Python, and Debian's
 * chromium started headless through puppeteer-core (pinned in this folder's
 * package-lock.json; it never downloads a browser).
 */
'use strict';
const { spawn } = require('child_process');
const puppeteer = require('puppeteer-core');

function serve(folder) {
    return new Promise((resolve, reject) => {
        const server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1', '--directory', folder],
                             { stdio: ['ignore', 'pipe', 'ignore'] });
        server.stdout.on('data', (data) => {
            const port = String(data).match(/port (\d+)/);
            if (port)
                resolve({ server, base: 'http://127.0.0.1:' + port[1] + '/' });
        });
        server.on('exit', () => reject(new Error('the server ended')));
    });
}

function launch() {
    return puppeteer.launch({
        executablePath: process.env.OSTREL_CHROMIUM || '/usr/bin/chromium',
        headless: true,
        // root runs without the sandbox; no GPU on the test machines
        args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
    });
}

// The page opened afresh at `url`, once its module is compiled.
async function open(page, url) {
    await page.goto('about:blank');
    await page.goto(url);
    await page.waitForSelector('body[data-ready="true"]', { timeout: 30000 });
}

// Until the run started last has answered, failed, been cancelled or refused.
async function waitDone(page, timeout) {
    await page.waitForFunction(() => /^(Done|Cancelled|Failed)/.test(document.getElementById('status').textContent) ||
        [...document.querySelectorAll('.error')].some((e) => e.textContent), { timeout: timeout || 60000 });
}

const link = (base, line) => base + 'index.html#' + encodeURIComponent(line);

// A link whose `option` the form cannot hold: what stays in "More options"
// and the message shown beside the option once the command has judged it.
async function leftToCommand(page, base, line, option) {
    await open(page, link(base, line));
    await waitDone(page);
    const kept = await page.$eval('#more', (e) => e.value);
    const message = await page.$eval('.error[data-for~="' + option + '"]', (e) => e.textContent);
    return { kept, message };
}

module.exports = { serve, launch, open, waitDone, link, leftToCommand };
