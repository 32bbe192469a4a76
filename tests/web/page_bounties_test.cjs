/*
 * Bounties in the page's form, against the native command: bounties typed
 * into the form (a bounty per seat, the kind, the share, the pool, the other
 * tables' bounties, the chips a unit is worth, a deal of the bounty money)
 * make the command line written here by hand and the command's own JSON,
 * byte for byte; a link with bounties fills those fields, computes the same
 * and is written back as it came; a bad bounty shows the command's message
 * beside its field and leaves the last answer stale; fields hidden, or not
 * taken by the view's command, send nothing; the form fits a phone's width.
 * Usage (from the top of the sources):
 *   node tests/web/page_bounties_test.cjs NATIVE-OSTREL-ICM PAGE-FOLDER
 */
'use strict';
const path = require('path');
const { serve, launch, open, waitDone, link, leftToCommand } = require('./browser.cjs');

const [native, folder] = process.argv.slice(2);
const { failures, check, finish, nativeRunner } = require('./checks.cjs');
const nativeRun = nativeRunner(native);

const { splitWords } = require(path.resolve('web/src/command-line.js'));
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const lineOf = (page) => page.$eval('#command-line', (e) => e.textContent);

// A field emptied and typed into, as a person types.
async function retype(page, selector, text) {
    await page.click(selector, { clickCount: 3 });
    await page.keyboard.press('Backspace');
    if (text)
        await page.type(selector, text);
}

// A line's words without its bounty options: the same question with none.
function withoutBounties(words) {
    const flags = ['--deal-bounties'];
    const options = ['--bounties', '--bounty-pool', '--bounty-share', '--others-bounties', '--chips-per-unit'];
    return words.filter((word, i) => !flags.includes(word) && !options.includes(word) && !options.includes(words[i - 1]));
}

// Whether the element is shown (not hidden, nor inside something hidden).
const shown = (page, selector) => page.$eval(selector, (e) => e.checkVisibility());

// The form filled from `form` on a blank table of the view: seats
// [stack, bounty], then fields by id (a select by its value, a checkbox by
// true); computed with --format json, the command's text on the page.
async function fillAndAnswer(page, base, form) {
    await open(page, link(base, form.start));
    await waitDone(page);
    await page.click('[data-view="' + form.view + '"]');
    await page.select('#bounty-kind', form.kind);
    for (let i = 0; i < form.bounties.length; ++i)
        await retype(page, '#seats tbody tr:nth-child(' + (i + 1) + ') input.bounty', form.bounties[i]);
    for (const [id, text] of Object.entries(form.fields || {})) {
        if (text === true)
            await page.click('#' + id);
        else if (await page.$eval('#' + id, (e) => e.tagName === 'SELECT'))
            await page.select('#' + id, text);
        else
            await retype(page, '#' + id, text);
    }
    await page.select('#format', 'json');
    await page.click('#compute');
    await waitDone(page, 120000);
    return page.$eval('#answer', (e) => e.textContent).catch(() => null);
}

(async () => {
    const { server, base } = await serve(folder);
    const browser = await launch();
    try {
        const page = await browser.newPage();
        page.on('pageerror', (error) => failures.push('page error: ' + error.message));
        await page.setViewport({ width: 1280, height: 900 });
        await open(page, base + 'index.html');
        await page.evaluate(() => localStorage.clear());

        // ---- typed into the form: the line expected, and the command's JSON ----
        const three = 'equity --stacks 5000,3000,2000 --prizes 50,30,20';
        const readme = 'spot --stacks 1000,500,1500 --prizes 50,30,20 --button 1 --blinds 50,100 --hero 3 --action call --shover 2 --range 2=50%';
        const typed = [
            { view: 'equity', start: three, kind: 'knockout', bounties: ['25', '10', '5'],
              line: 'equity --stacks 5000,3000,2000 --prizes 50,30,20 --bounties 25,10,5' },
            { view: 'equity', start: three, kind: 'progressive', bounties: ['25', '10', '5'], fields: { 'bounty-pool': '100' },
              line: 'equity --stacks 5000,3000,2000 --prizes 50,30,20 --bounties 25,10,5 --bounty-pool 100' },
            { view: 'equity', start: three, kind: 'knockout', bounties: [], fields: { 'bounty-pool': '30' },
              line: 'equity --stacks 5000,3000,2000 --prizes 50,30,20 --bounty-pool 30' },
            { view: 'deal', start: 'deal --stacks 14200,9800,7600,5100 --prizes 500,300,200,120 --round 5', kind: 'knockout',
              bounties: ['50', '50', '40', '30'], fields: { 'deal-bounties': true },
              line: 'deal --stacks 14200,9800,7600,5100 --prizes 500,300,200,120 --bounties 50,50,40,30 --deal-bounties --round 5' },
            { view: 'spot', start: readme, kind: 'progressive', bounties: ['10', '10', '10'],
              line: 'spot --stacks 1000,500,1500 --button 1 --blinds 50,100 --prizes 50,30,20 --bounties 10,10,10 --bounty-share 0.5 ' +
                    '--hero 3 --action call --shover 2 --range 2=50%' },
            { view: 'spot', start: readme, kind: 'share', bounties: ['10', '20', '10'], fields: { 'bounty-share': '0.25', others: '800,600', 'others-bounties': '15,5' },
              line: 'spot --stacks 1000,500,1500 --button 1 --blinds 50,100 --prizes 50,30,20 --others 800,600 --bounties 10,20,10 ' +
                    '--bounty-share 0.25 --others-bounties 15,5 --hero 3 --action call --shover 2 --range 2=50%' },
            { view: 'spot', start: readme, kind: 'knockout', bounties: ['10', '10', '10'], fields: { 'chip-ev': true, 'chips-per-unit': '100' },
              line: 'spot --stacks 1000,500,1500 --button 1 --blinds 50,100 --chip-ev --bounties 10,10,10 --chips-per-unit 100 ' +
                    '--hero 3 --action call --shover 2 --range 2=50%' },
            { view: 'nash', start: 'nash --stacks 1000,500,1500 --prizes 50,30,20 --button 1 --blinds 50,100', kind: 'progressive',
              bounties: ['10', '10', '10'], fields: { others: '800', 'bounty-pool': '45' },
              line: 'nash --stacks 1000,500,1500 --button 1 --blinds 50,100 --prizes 50,30,20 --others 800 --bounties 10,10,10 ' +
                    '--bounty-share 0.5 --bounty-pool 45' },
        ];
        for (const form of typed) {
            const answer = await fillAndAnswer(page, base, form);
            const line = await lineOf(page);
            const theirs = nativeRun([...splitWords(form.line), '--format', 'json']);
            check(line === form.line + ' --format json', 'the typed ' + form.view + ' form is the line ' + line);
            const without = nativeRun([...withoutBounties(splitWords(form.line)), '--format', 'json']);
            check(theirs.status === 0 && answer === theirs.stdout && without.status === 0 && without.stdout !== answer,
                  'and its JSON is the command\'s, changed by the bounties: ' + form.line);
        }

        // The README's call: half the bounties in cash widen it from 39.2 % to 50.7 %.
        const calls = JSON.parse(nativeRun([...splitWords(typed[4].line), '--format', 'json']).stdout).range_share;
        check((calls * 100).toFixed(1) === '50.7', 'the progressive call is the README\'s 50.7 %: ' + calls);

        // ---- the views drawn with bounties: the command's numbers ----
        await open(page, link(base, typed[1].line));
        await waitDone(page);
        const ev = JSON.parse(nativeRun([...splitWords(typed[1].line), '--format', 'json']).stdout);
        const evShown = await page.$$eval('#ev-table tbody tr', (rows) => rows.map((r) => [...r.cells].slice(-2).map((c) => c.textContent)));
        check(same(evShown, ev.players.map((p) => [p.bounty_ev.toFixed(4), p.total_ev.toFixed(4)])),
              'the $EV view shows the bounty $EV and the total: ' + evShown.join(' | '));
        // Each player's bounty $EV is his chip share of the bounty money in play.
        check(ev.players.every((p) => Math.abs(p.bounty_ev - p.chip_share * 100) < 1e-9), 'the bounty $EV is the chip share of 100');
        check(await page.$$eval('#finish-table tbody tr', (rows) => rows.length) === 3, 'the finish chances are shown with bounties too');
        const handLine = typed[4].line + ' --hand Qh5h';
        await open(page, link(base, handLine));
        await waitDone(page);
        const needed = await page.$eval('#equity-needed', (e) => e.textContent).catch(() => '');
        check(needed.startsWith('Equity needed to call in a heads-up pot: 37.69% with the bounties, 41.67% without them, 40.00% under chip EV'),
              'a hand facing a shove says what a call needs with and without the bounties: ' + needed);
        const cash = await page.$$eval('#outcomes-play tbody tr', (rows) => rows.map((r) => r.cells[r.cells.length - 2].textContent));
        check(same(cash, ['0.00', '5.00', '0.00']), 'and the bounty cash of each outcome: ' + cash);

        // ---- links with bounties fill the fields, compute the same and are written back ----
        const links = [
            [typed[0].line, { kind: 'knockout', bounties: ['25', '10', '5'] }],
            [typed[3].line, { kind: 'knockout', bounties: ['50', '50', '40', '30'], 'deal-bounties': true }],
            [typed[4].line, { kind: 'progressive', bounties: ['10', '10', '10'] }],
            [typed[5].line, { kind: 'share', bounties: ['10', '20', '10'], 'bounty-share': '0.25', 'others-bounties': '15,5' }],
            [typed[6].line, { kind: 'knockout', bounties: ['10', '10', '10'], 'chips-per-unit': '100' }],
            [typed[7].line, { kind: 'progressive', bounties: ['10', '10', '10'], 'bounty-pool': '45' }],
        ];
        for (const [line, fields] of links) {
            await open(page, link(base, line + ' --format json'));
            await waitDone(page, 120000);
            const filled = await page.evaluate(() => ({
                kind: document.getElementById('bounty-kind').value,
                bounties: [...document.querySelectorAll('#seats input.bounty')].map((e) => e.value),
                'deal-bounties': document.getElementById('deal-bounties').checked,
                'bounty-share': document.getElementById('bounty-share').value,
                'others-bounties': document.getElementById('others-bounties').value,
                'chips-per-unit': document.getElementById('chips-per-unit').value,
                'bounty-pool': document.getElementById('bounty-pool').value,
            }));
            check(Object.entries(fields).every(([key, wanted]) => same(filled[key], wanted)), 'the link fills the bounty fields: ' + line);
            const visible = [];
            for (const key of Object.keys(fields).filter((key) => key !== 'kind' && key !== 'bounties'))
                visible.push(await shown(page, '#' + key));
            visible.push(await shown(page, '#seats input.bounty'));
            check(visible.every(Boolean), 'and shows them');
            check(await lineOf(page) === line + ' --format json', 'and is written back as it came');
            check(await page.$eval('#answer', (e) => e.textContent).catch(() => null) === nativeRun([...splitWords(line), '--format', 'json']).stdout,
                  'and shows the command\'s JSON');
        }
        // Bounties not one for each seat stay on the line for the command to judge.
        const short = 'equity --stacks 5000,3000,2000 --prizes 50,30,20 --bounties 10,10';
        const { kept, message: miscount } = await leftToCommand(page, base, short, '--bounties');
        check(kept === '--bounties 10,10' && miscount === nativeRun(splitWords(short)).stderr.trim() && miscount.length > 0,
              'two bounties for three seats go to More options and the command\'s message: ' + miscount);

        // ---- bad input: the command's message beside its field, the answer stale ----
        const bad = [
            // the form's start, the field, its text, where the message shows
            [typed[0].line, '#seats tbody tr:nth-child(2) input.bounty', 'x', '--bounties'],
            [typed[0].line, '#seats tbody tr:nth-child(3) input.bounty', '', '--bounties'],
            [typed[0].line, '#seats tbody tr:nth-child(1) input.bounty', '-5', '--bounties'],
            [typed[1].line, '#bounty-pool', '20', '--bounty-pool'],
            [typed[5].line, '#bounty-share', '2', '--bounty-share'],
            [typed[5].line, '#others-bounties', '15', '--others-bounties'],
            [typed[6].line, '#chips-per-unit', 'x', '--chips-per-unit'],
            [typed[6].line, '#chips-per-unit', '', '--chip-ev'],
        ];
        for (const [start, field, text, option] of bad) {
            await open(page, link(base, start));
            await waitDone(page, 120000);
            await retype(page, field, text);
            await page.click('#compute');
            await waitDone(page);
            const line = await lineOf(page);
            const expected = nativeRun(splitWords(line)).stderr.trim();
            const message = await page.$eval('.error[data-for~="' + option + '"]', (e) => e.textContent);
            check(expected.length > 0 && message === expected && await shown(page, '.error[data-for~="' + option + '"]'),
                  JSON.stringify(text) + ' in ' + field + ' shows the command\'s message beside it: ' + message);
            check(await page.$eval('#result', (e) => e.classList.contains('stale')), 'the last answer stays, marked stale');
        }

        // ---- hidden fields, and options the view's command does not take, send nothing ----
        await open(page, link(base, typed[5].line + ' --chip-ev --chips-per-unit 100'));
        await waitDone(page);
        await page.$eval('#deal-bounties', (e) => (e.checked = true));
        const sent = [
            // view, kind, the bounty options its line holds
            ['spot', 'share', ['--bounties', '--bounty-share', '--others-bounties', '--chips-per-unit']],
            ['nash', 'progressive', ['--bounties', '--bounty-share', '--others-bounties', '--chips-per-unit']],
            ['spot', 'knockout', ['--bounties', '--others-bounties', '--chips-per-unit']],
            ['equity', 'share', ['--bounties']],
            ['deal', 'progressive', ['--bounties', '--deal-bounties']],
            ['bubble', 'knockout', []],
            ['spot', '', []],
            ['deal', '', []],
            ['equity', '', []],
        ];
        for (const [view, kind, options] of sent) {
            await page.click('[data-view="' + view + '"]');
            await page.select('#bounty-kind', kind);
            const words = splitWords(await lineOf(page));
            const held = words.filter((word) => /^--(bount|others-bount|chips-per-unit|deal-bount)/.test(word));
            check(same(held, options), view + ' with bounties ' + JSON.stringify(kind) + ' sends ' + JSON.stringify(held));
            const visible = {};
            for (const id of ['bounty-share', 'bounty-pool', 'others-bounties', 'chips-per-unit', 'deal-bounties'])
                visible[id] = await shown(page, '#' + id);
            visible.bounties = await shown(page, '#seats input.bounty');
            const wanted = {
                'bounty-share': kind === 'share' && options.includes('--bounty-share'), 'bounty-pool': kind !== '' && view !== 'bubble',
                'others-bounties': options.includes('--others-bounties'), 'chips-per-unit': options.includes('--chips-per-unit'),
                'deal-bounties': options.includes('--deal-bounties'), bounties: options.includes('--bounties'),
            };
            check(same(visible, wanted), 'and shows the fields it sends: ' + JSON.stringify(visible));
        }
        // Bounties off, the table is the one without: the command's answer, to the byte.
        await page.click('[data-view="equity"]');
        await page.select('#format', 'json');
        await page.click('#compute');
        await waitDone(page);
        const plain = await page.$eval('#answer', (e) => e.textContent).catch(() => null);
        check(plain === nativeRun(['equity', '--stacks', '1000,500,1500', '--prizes', '50,30,20', '--format', 'json']).stdout,
              'with bounties off the answer is the one without bounties');

        // ---- a phone's width: one column, every input labelled ----
        await page.setViewport({ width: 390, height: 844 });
        for (const line of [typed[5].line, typed[6].line + ' --hand Qh5h', typed[3].line]) {
            await open(page, link(base, line));
            await waitDone(page);
            const wide = await page.evaluate(() => document.documentElement.scrollWidth);
            check(wide <= 390, 'at 390 px the page with bounties is ' + wide + ' px wide: ' + line.split(' ')[0]);
            const unlabelled = await page.$$eval('input, select, textarea', (all) =>
                all.filter((e) => !e.closest('label') && !e.getAttribute('aria-label') && e.type !== 'hidden').length);
            check(unlabelled === 0, unlabelled + ' inputs without a label');
        }
        // The keyboard: Tab from a seat's stack reaches its bounty.
        await page.focus('#seats tbody tr:nth-child(2) input.stack');
        await page.keyboard.press('Tab');
        check(await page.evaluate(() => document.activeElement.getAttribute('aria-label')) === 'Bounty of seat 2',
              'Tab goes from a seat\'s stack to its bounty');
    } finally {
        await browser.close();
        server.kill();
    }
    finish();
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
