/*
 * Makes the README's pictures of the page: build/web served locally and
 * opened in Debian's chromium at a desktop's width (the $EV view of six
 * seats, a spot's grid, an equilibrium's charts) and at a phone's (390 px).
 * Usage: node scripts/take-page-screenshots.cjs (after scripts/build-web.sh
 * and npm ci --prefix tests/web)
 */
'use strict';
const path = require('path');
const { serve, launch, open, waitDone, link } = require('../tests/web/browser.cjs');

const top = path.join(__dirname, '..');
const images = path.join(top, 'docs', 'images');
const shots = [
    { file: 'page-ev.png', width: 1280, line: 'equity --stacks 14200,9800,7600,5100,3300,1900 --prizes 500,300,200,120,80' },
    { file: 'page-spot.png', width: 1280, line: 'spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 1 --range 1=22+,A2s+,K9s+,A7o+,KTo+' },
    { file: 'page-equilibrium.png', width: 1280, line: 'nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25' },
    { file: 'page-phone.png', width: 390, line: 'spot --stacks 25bb,15bb,10bb --prizes 50,30,20 --button 1 --blinds 100,200 --hero SB --range BB=QQ+,AK' },
];

(async () => {
    const { server, base } = await serve(path.join(top, 'build', 'web'));
    const browser = await launch();
    try {
        const page = await browser.newPage();
        for (const shot of shots) {
            await page.setViewport({ width: shot.width, height: shot.width > 600 ? 900 : 844 });
            await open(page, link(base, shot.line));
            await waitDone(page, 300000);
            await page.mouse.move(0, 0);
            await page.screenshot({ path: path.join(images, shot.file), fullPage: true });
            console.log(path.join('docs', 'images', shot.file));
        }
    } finally {
        await browser.close();
        server.kill();
    }
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
