/*
 * The page in Debian's chromium, headless, served from build/web on
 * 127.0.0.1, against the native command: a table typed as a person types it
 * gives the command's $EV; a link of each view fills the form and shows the
 * command's own text; an equilibrium shows its progress and a chart per
 * decision; one is cancelled; a bad value shows the command's message beside
 * its field and leaves the last answer marked stale; no request leaves the
 * local server. Usage (from the top of the sources):
 *   node tests/web/page_test.cjs NATIVE-OSTREL-ICM PAGE-FOLDER
 */
'use strict';
const path = require('path');
const { serve, launch, open, waitDone, link } = require('./browser.cjs');

const [native, folder] = process.argv.slice(2);
const { failures, check, finish, nativeRunner } = require('./checks.cjs');
const nativeRun = nativeRunner(native);

const { splitWords } = require(path.resolve('web/src/command-line.js'));

(async () => {
    const { server, base } = await serve(folder);
    const browser = await launch();
    try {
        const page = await browser.newPage();
        await page.setViewport({ width: 1280, height: 900 });
        const elsewhere = [];
        page.on('request', (request) => {
            if (!request.url().startsWith(base) && !request.url().startsWith('about:') && !request.url().startsWith('data:'))
                elsewhere.push(request.url());
        });
        page.on('pageerror', (error) => failures.push('page error: ' + error.message));

        // A table typed as a person types it: four seats, a ladder.
        await open(page, base + 'index.html');
        await page.evaluate(() => localStorage.clear());
        await open(page, base + 'index.html');
        await page.click('[data-view="equity"]');
        await page.click('#add-seat');
        const stacks = ['4200', '3100', '1800', '900'];
        const inputs = await page.$$('#seats input.stack');
        for (let i = 0; i < stacks.length; ++i) {
            await inputs[i].click({ clickCount: 3 });
            await page.keyboard.press('Backspace');
            await inputs[i].type(stacks[i]);
        }
        await page.click('#prizes', { clickCount: 3 });
        await page.keyboard.press('Backspace');
        await page.type('#prizes', '50,30,20');
        await inputs[3].focus();
        await page.keyboard.press('Enter'); // the keyboard computes as Compute does
        await waitDone(page);
        const line = await page.$eval('#command-line', (e) => e.textContent);
        check(line === 'equity --stacks 4200,3100,1800,900 --prizes 50,30,20', 'the typed table is the line ' + line);
        const shown = await page.$$eval('#ev-table tbody tr', (rows) => rows.map((r) => r.cells[3].textContent));
        const theirs = JSON.parse(nativeRun([...splitWords(line), '--format', 'json']).stdout).players.map((p) => p.equity.toFixed(4));
        check(JSON.stringify(shown) === JSON.stringify(theirs), '$EV shown ' + shown + ' is the command\'s ' + theirs);
        const finish = await page.$$eval('#finish-table tbody tr', (rows) => rows.length);
        check(finish === 4, 'the finish chances are shown beside the $EV');
        const address = decodeURIComponent(await page.evaluate(() => location.hash.slice(1)));
        check(address === line, 'the address holds the line');

        // A bad value: the command's message beside the stacks; the answer stays, stale.
        const second = (await page.$$('#seats input.stack'))[1];
        await second.click({ clickCount: 3 });
        await second.type('3x00');
        await page.click('#compute');
        await waitDone(page);
        const message = await page.$eval('.error[data-for~="--stacks"]', (e) => e.textContent);
        const expected = nativeRun(['equity', '--stacks', '4200,3x00,1800,900', '--prizes', '50,30,20']).stderr.trim();
        check(message === expected && expected.length > 0, 'the bad stack shows the command\'s message: ' + message);
        check(await page.$eval('#result', (e) => e.classList.contains('stale')), 'the last answer is marked stale');

        // A stacks file picked: named on the line, read by the command in the module.
        const picker = await page.$('#stacks-file');
        await picker.uploadFile(path.resolve('docs/examples/final-table.txt'));
        await page.waitForFunction(() => document.getElementById('command-line').textContent.includes('--stacks-file'));
        await page.click('#compute');
        await waitDone(page);
        const fileLine = await page.$eval('#command-line', (e) => e.textContent);
        const fromFile = await page.$$eval('#ev-table tbody tr', (rows) => rows.map((r) => r.cells[4].textContent));
        const nativeFile = JSON.parse(nativeRun(['equity', '--stacks-file', 'docs/examples/final-table.txt', '--prizes', '50,30,20',
                                                 '--format', 'json']).stdout).players.map((p) => p.equity.toFixed(4));
        check(fileLine === 'equity --stacks-file final-table.txt --prizes 50,30,20' &&
              JSON.stringify(fromFile) === JSON.stringify(nativeFile), 'a picked stacks file gives the command\'s $EV: ' + fileLine);
        await page.click('#forget-files');

        // Names typed into the form travel in the address as --names, a seat
        // left unnamed as "Seat N"; opened in a fresh browser (empty storage)
        // the address gives the names and the answer back.
        await open(page, link(base, 'equity --stacks 5000,3000,2000,1000 --prizes 50,30,20'));
        await waitDone(page);
        const nameInputs = await page.$$('#seats input.name');
        await nameInputs[0].type('Anna Lee');
        await nameInputs[2].type('Zoë');
        await page.click('#compute');
        await waitDone(page);
        const namedLine = await page.$eval('#command-line', (e) => e.textContent);
        const namedAddress = decodeURIComponent(await page.evaluate(() => location.hash.slice(1)));
        check(namedAddress === namedLine &&
              namedLine === "equity --stacks 5000,3000,2000,1000 --names 'Anna Lee,Seat 2,Zoë,Seat 4' --prizes 50,30,20",
              'typed names go into the address as --names, with no --stacks-file: ' + namedAddress);
        const evRows = (target) => target.$$eval('#ev-table tbody tr', (rows) => rows.map((r) => [r.cells[1].textContent, r.cells[4].textContent]));
        const namedNative = JSON.parse(nativeRun([...splitWords(namedLine), '--format', 'json']).stdout).players
            .map((p) => [p.name, p.equity.toFixed(4)]);
        const namedShown = await evRows(page);
        check(JSON.stringify(namedShown) === JSON.stringify(namedNative), 'the names and $EV shown are the command\'s: ' + namedShown);
        const context = await browser.createBrowserContext();
        try {
            const fresh = await context.newPage();
            fresh.on('pageerror', (error) => failures.push('page error: ' + error.message));
            await open(fresh, base + 'index.html#' + encodeURIComponent(namedAddress));
            await waitDone(fresh);
            const freshNames = await fresh.$$eval('#seats input.name', (all) => all.map((e) => e.value));
            check(JSON.stringify(freshNames) === JSON.stringify(['Anna Lee', 'Seat 2', 'Zoë', 'Seat 4']),
                  'a fresh browser fills the names from the address: ' + freshNames);
            const freshShown = await evRows(fresh);
            check(JSON.stringify(freshShown) === JSON.stringify(namedNative), 'and shows the same answer: ' + freshShown);
            check(await fresh.$eval('#command-line', (e) => e.textContent) === namedLine, 'and the same line');
        } finally {
            await context.close();
        }

        // A link of the old form, its names in a file of this browser's storage:
        // read still, and written again with --names.
        await page.evaluate(() => localStorage.setItem('ostrel-files', JSON.stringify({ 'seats.txt': 'Anna,5000\nBob,3000\nCy,2000\n' })));
        await open(page, link(base, 'equity --stacks-file seats.txt --prizes 50,30,20'));
        await waitDone(page);
        const oldNative = JSON.parse(nativeRun(['equity', '--stacks', '5000,3000,2000', '--names', 'Anna,Bob,Cy', '--prizes', '50,30,20',
                                                '--format', 'json']).stdout).players.map((p) => [p.name, p.equity.toFixed(4)]);
        check(JSON.stringify(await evRows(page)) === JSON.stringify(oldNative) &&
              await page.$eval('#command-line', (e) => e.textContent) === 'equity --stacks 5000,3000,2000 --names Anna,Bob,Cy --prizes 50,30,20',
              'an old link with --stacks-file seats.txt still opens, and is written with --names');

        // A name holding a comma cannot be one of --names: the page says so
        // beside the seats and computes nothing; the answer stays, stale.
        const commaName = (await page.$$('#seats input.name'))[1];
        await commaName.click({ clickCount: 3 });
        await commaName.type('Smith, J');
        await page.click('#compute');
        await page.waitForFunction(() => document.querySelector('.error[data-for~="--names"]').textContent !== '');
        const commaMessage = await page.$eval('.error[data-for~="--names"]', (e) => e.textContent);
        check(commaMessage.includes('"Smith, J" holds a comma') &&
              await page.$eval('#result', (e) => e.classList.contains('stale')),
              'a name with a comma is refused beside the seats, the answer kept as stale: ' + commaMessage);

        // A link of each view, with a format: the command's text exactly.
        const lines = [
            'equity --stacks 5000,3000,2000 --prizes 50,30,20 --format json',
            'finish --stacks 5000,3000,2000,1000 --prizes 50,30,20 --format csv',
            'deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --round 1 --format json',
            'bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --format csv',
            'allin AhKh QQ+,AKs JTs --board Qs9h2c --format json',
            'spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 --range 3=QQ+,AK --format json',
            'nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format csv',
        ];
        for (const one of lines) {
            await open(page, link(base, one));
            await waitDone(page);
            const text = await page.$eval('#answer', (e) => e.textContent).catch(() => null);
            check(text === nativeRun(splitWords(one)).stdout, 'the link shows the command\'s text: ' + one);
        }
        await open(page, link(base, 'nash --stacks 1000,1000 --chip-ev --button 1 --blinds 50,100 --format svg'));
        await waitDone(page);
        const svg = await page.$eval('#result svg', (e) => e.outerHTML.length).catch(() => 0);
        check(svg > 0, 'the svg format shows the command\'s picture');

        // Links without a format: the views drawn from the command's answers.
        const spotLine = 'spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 --range 3=QQ+,AK';
        await open(page, link(base, spotLine));
        await waitDone(page);
        check(await page.$$eval('#spot-grid [data-hand]', (c) => c.length) === 169, 'the spot shows 169 hands');
        check(await page.$eval('#hero', (e) => e.value) === '2', 'the link filled the hero');
        await page.hover('#spot-grid [data-hand="72o"]');
        const hover = await page.$eval('#hover', (e) => e.textContent);
        const spotJson = JSON.parse(nativeRun([...splitWords(spotLine), '--format', 'json']).stdout);
        const seven = spotJson.hands.find((h) => h.hand === '72o');
        check(hover.includes('72o') && hover.includes(seven.ev_fold.toFixed(4)) && hover.includes(seven.ev_play.toFixed(4)),
              'hovering 72o shows its values: ' + hover);
        await page.click('#spot-grid [data-hand="AKs"]');
        await waitDone(page);
        check((await page.$eval('#command-line', (e) => e.textContent)).endsWith('--hand AKs'), 'a click asks for the hand');

        // A range picked for the spot replaces that seat's range.
        await page.type('#spot-range-seat', '3');
        await page.focus('#spot-range');
        await page.click('#range-grid [data-hand="AA"]');
        await page.click('#range-grid [data-hand="KK"]');
        await page.click('#put-range');
        check(await page.$eval('#ranges', (e) => e.value) === '3=AA,KK', 'a picked range goes to the spot\'s ranges');
        check((await page.$eval('#command-line', (e) => e.textContent)).includes('--range 3=AA,KK'), 'and to the command line');

        await open(page, link(base, 'allin AdAc KhKs'));
        await waitDone(page);
        const handText = await page.$eval('#hands input', (e) => e.value);
        check(handText === 'AdAc', 'the equity link filled the hands');
        await page.focus('#hands input');
        await page.evaluate(() => { const i = document.querySelector('#hands input'); i.value = 'QQ+,AKs'; i.dispatchEvent(new Event('input', { bubbles: true })); });
        const picked = await page.$$eval('#range-grid .on', (cells) => cells.map((c) => c.dataset.hand).join(','));
        check(picked === 'AA,AKs,KK,QQ', 'the range text shows on the picker: ' + picked);
        await page.click('#range-grid [data-hand="JJ"]');
        check(await page.$eval('#hands input', (e) => e.value) === 'AA,AKs,KK,QQ,JJ', 'a click on the picker writes the text');

        // An equilibrium: progress, then a chart per decision; a decision as a spot.
        const nashLine = 'nash --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25';
        await open(page, link(base, nashLine));
        await waitDone(page, 300000);
        const reports = await page.$eval('#progress', (e) => Number(e.dataset.reports || 0));
        check(reports > 0, 'the equilibrium showed its progress ' + reports + ' times');
        const decisions = JSON.parse(nativeRun([...splitWords(nashLine), '--format', 'json']).stdout).decisions;
        const charts = await page.$$eval('#charts .chart', (c) => c.length);
        check(charts === decisions.length, charts + ' charts for ' + decisions.length + ' decisions');
        await page.setViewport({ width: 1280, height: 900 });
        const buttons = await page.$$('#charts .chart button');
        await buttons[1].click();
        await waitDone(page);
        const opened = await page.$eval('#command-line', (e) => e.textContent);
        check(opened.startsWith('spot ') && opened.includes('--hero'), 'a decision opens as a spot: ' + opened);

        // Cancel: a long equilibrium stopped, the page answering again.
        await open(page, link(base, 'nash --stacks 900,1300,2100,800,1700,1200,2500,1500 --prizes 50,30,20 --button 1 --blinds 50,100 --ante 10 --tolerance 0.00001'));
        await page.waitForSelector('#cancel:not([hidden])', { timeout: 20000 });
        await page.click('#cancel');
        await page.waitForFunction(() => document.getElementById('status').textContent === 'Cancelled', { timeout: 10000 });
        check(true, 'the equilibrium is cancelled');
        await page.click('[data-view="equity"]');
        await page.click('#compute');
        await waitDone(page);
        check((await page.$eval('#status', (e) => e.textContent)).startsWith('Done'), 'the page computes again after Cancel');

        // A phone's width: one column, nothing wider than the screen.
        await page.setViewport({ width: 390, height: 844 });
        await open(page, link(base, 'equity --stacks 5000,3000,2000 --prizes 50,30,20'));
        await waitDone(page);
        const wide = await page.evaluate(() => document.documentElement.scrollWidth);
        check(wide <= 390, 'at 390 px the page is ' + wide + ' px wide');
        const unlabelled = await page.$$eval('input, select, textarea', (all) =>
            all.filter((e) => !e.closest('label') && !e.getAttribute('aria-label') && e.type !== 'hidden').length);
        check(unlabelled === 0, unlabelled + ' inputs without a label');
        check(elsewhere.length === 0, 'no request left the local server ' + elsewhere.join(' '));
    } finally {
        await browser.close();
        server.kill();
    }
    finish();
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
