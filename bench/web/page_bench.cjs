/*
 * The page's speed in Debian's chromium, beside the native command: the
 * page's files together; the time from opening the page (local server, empty
 * cache) to its module being ready; an 18-seat $EV from the click on
 * Compute to the answer drawn; a 6-seat equilibrium in the page against the
 * native command on one thread. Medians of a few runs; a measurement, not a
 * test. Usage (after scripts/build-web.sh and npm ci --prefix tests/web):
 *   node bench/web/page_bench.cjs NATIVE-OSTREL-ICM [PAGE-FOLDER]
 */
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');
const { serve, launch, open, waitDone, link } = require('../../tests/web/browser.cjs');
const { splitWords } = require('../../web/src/command-line.js');

const top = path.join(__dirname, '..', '..');
const native = process.argv[2];
const folder = process.argv[3] || path.join(top, 'build', 'web');
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];

const field18 = 'equity --stacks 1000,1500,2000,2500,3000,3500,4000,4500,5000,5500,6000,6500,7000,7500,8000,8500,9000,9500 ' +
    '--prizes 18,17,16,15,14,13,12,11,10,9,8,7,6,5,4,3,2,1';
const nash6 = 'nash --stacks 9000,4000,2500,7000,3000,1200 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25';

function nativeSeconds(line) {
    const words = splitWords(line);
    const started = process.hrtime.bigint();
    const run = spawnSync(native, [...words, '--threads', '1', '--format', 'json'], { maxBuffer: 1 << 28 });
    if (run.status !== 0)
        throw new Error(String(run.stderr));
    return Number(process.hrtime.bigint() - started) / 1e9;
}

(async () => {
    const bytes = fs.readdirSync(folder).reduce((sum, name) => sum + fs.statSync(path.join(folder, name)).size, 0);
    console.log('page files: ' + fs.readdirSync(folder).length + ' files, ' + (bytes / 1e6).toFixed(2) + ' MB');
    const { server, base } = await serve(folder);
    const browser = await launch();
    try {
        const ready = [];
        for (let i = 0; i < 5; ++i) {
            const context = await browser.createBrowserContext();
            const page = await context.newPage();
            await page.setCacheEnabled(false);
            await open(page, base + 'index.html');
            ready.push(await page.evaluate(() => Number(document.body.dataset.readyMs)));
            await context.close();
        }
        console.log('ready after opening: ' + median(ready).toFixed(0) + ' ms (runs ' + ready.map((t) => t.toFixed(0)).join(', ') + ')');

        const page = await browser.newPage();
        await open(page, link(base, field18));
        await waitDone(page);
        const ev = [];
        for (let i = 0; i < 7; ++i) {
            const clicked = await page.evaluate(() => {
                window.clickedAt = performance.now();
                document.getElementById('compute').click();
                return window.clickedAt;
            });
            await page.waitForFunction((at) => document.getElementById('ev-table') && Number(document.getElementById('result').dataset.answeredAt) > at,
                                       { timeout: 60000 }, clicked);
            ev.push(await page.evaluate(() => Number(document.getElementById('result').dataset.answeredAt) - window.clickedAt));
            await waitDone(page);
        }
        const native18 = [0, 1, 2].map(() => nativeSeconds(field18) * 1000);
        console.log('18-seat $EV, click to answer drawn: ' + median(ev).toFixed(0) + ' ms (native command ' + median(native18).toFixed(0) + ' ms)');

        // Page and native runs alternate, so that both see the same load.
        const page6 = [];
        const native6 = [];
        for (let i = 0; i < 5; ++i) {
            await open(page, link(base, nash6));
            await waitDone(page, 600000);
            page6.push(await page.evaluate(() => Number(document.getElementById('result').dataset.milliseconds)) / 1000);
            native6.push(nativeSeconds(nash6));
        }
        const ratios = page6.map((seconds, i) => seconds / native6[i]);
        console.log('6-seat equilibrium, to the charts drawn: page ' + median(page6).toFixed(2) + ' s, native one thread ' +
                    median(native6).toFixed(2) + ' s, ratio ' + median(ratios).toFixed(2) + ' (runs ' +
                    ratios.map((r) => r.toFixed(2)).join(', ') + ')');
    } finally {
        await browser.close();
        server.kill();
    }
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
