/*
 * The views drawn for their question, read back from the page and held
 * against the native command on the same line: a deal's payments, $EV and
 * differences (and the payments adding up to the money dealt); the bubble
 * grids cell by cell against the command's JSON and its own table; each
 * player's equity, win and tie, and the line saying how the result was had;
 * a hand's outcomes against the command's JSON and its named outcomes. Each
 * view fits a phone's width. Usage (from the top of the sources):
 *   node tests/web/page_views_test.cjs NATIVE-OSTREL-ICM PAGE-FOLDER
 */
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const { serve, launch, open, waitDone, link, leftToCommand } = require('./browser.cjs');

const [native, folder] = process.argv.slice(2);
const { failures, check, finish, nativeRunner } = require('./checks.cjs');
const nativeRun = nativeRunner(native);

const { splitWords } = require(path.resolve('web/src/command-line.js'));
const json = (line) => JSON.parse(nativeRun([...splitWords(line), '--format', 'json']).stdout);
const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const fixed = (value, digits) => value.toFixed(digits);
const percent = (share, digits) => (share * 100).toFixed(digits) + '%';
function signed(value, digits) {
    const text = Math.abs(value).toFixed(digits);
    return (/[1-9]/.test(text) ? (value > 0 ? '+' : '-') : '') + text;
}

// A drawn table as {headers, rows: [{cells: [text], titles: [title], backgrounds: [colour]}]}.
function readTable(page, selector) {
    return page.$eval(selector, (table) => ({
        headers: [...table.tHead.rows[0].cells].map((c) => c.textContent),
        rows: [...table.tBodies[0].rows].map((r) => ({
            cells: [...r.cells].map((c) => c.textContent),
            titles: [...r.cells].map((c) => c.title),
            backgrounds: [...r.cells].map((c) => c.style.background),
        })),
    })).catch(() => null);
}

const column = (drawn, header) => drawn.rows.map((row) => row.cells[drawn.headers.indexOf(header)]);
const titles = (drawn, header) => drawn.rows.map((row) => row.titles[drawn.headers.indexOf(header)]);

// The command's own bubble table: per title, the rows' seats and cells.
function commandGrids(text) {
    const grids = {};
    let current = null;
    for (const line of text.split('\n')) {
        const head = line.match(/^\s*(Bubble factor|Risk premium)\s/);
        const row = line.match(/^\s*Seat (\d+)(?: \(.*\))?\s+(.*)$/);
        if (head)
            current = grids[head[1]] = [];
        else if (row && current)
            current.push({ seat: Number(row[1]), cells: row[2].trim().split(/\s+/) });
        else
            current = null;
    }
    return grids;
}

// The command's own outcome names of a hand, per branch in order.
function commandOutcomes(text) {
    const branches = [];
    let current = null;
    for (const line of text.split('\n')) {
        if (/^If he /.test(line))
            branches.push((current = []));
        else if (current && /\d%\s/.test(line))
            current.push(line.match(/^(.*?)\s+\d+\.\d{4}%/)[1]);
        else
            current = null;
    }
    return branches;
}

(async () => {
    const { server, base } = await serve(folder);
    const browser = await launch();
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'ostrel-views-'));
    try {
        const page = await browser.newPage();
        page.on('pageerror', (error) => failures.push('page error: ' + error.message));
        await page.setViewport({ width: 1280, height: 900 });
        await open(page, base + 'index.html');
        await page.evaluate(() => localStorage.clear());

        // ---- deals: what each is paid, its $EV and the difference ----
        const deals = [
            // line, the split shown, the deal value column, the bounty column
            ['deal --stacks 14200,9800,7600,5100 --prizes 500,300,200,120 --round 5', 'icm', false, false],
            ['deal --stacks 14200,9800,7600,5100 --prizes 500,300,200,120 --round 5 --keep 100', 'icm', true, false],
            ['deal --stacks 5000,3000,2000 --prizes 50,30,20 --split chip --round 1', 'chip', false, false],
            ['deal --stacks 5000,3000,2000 --prizes 50,30,20 --split even', 'even', false, false],
            ['deal --stacks 5000,3000,2000 --prizes 50,30,20 --split icm --round 1', 'icm', false, false],
            ['deal --stacks 14200,9800,7600,5100 --prizes 500,300,200,120 --bounties 50,50,50,50 --deal-bounties', 'icm', false, true],
        ];
        for (const [line, split, valued, bounty] of deals) {
            await open(page, link(base, line));
            await waitDone(page);
            const theirs = json(line);
            const drawn = await readTable(page, '#deal-table');
            if (!drawn) {
                check(false, 'a deal table for ' + line);
                continue;
            }
            const players = theirs.players;
            check(same(column(drawn, 'The deal pays'), players.map((p) => fixed(p.payment, 2))) &&
                  same(titles(drawn, 'The deal pays'), players.map((p) => String(p.payment))),
                  'the payments are the command\'s: ' + line);
            check(same(column(drawn, '$EV playing on'), players.map((p) => fixed(p.equity, 2))), 'the $EV are the command\'s');
            check(same(column(drawn, 'Difference'), players.map((p) => signed(p.difference, 2))), 'the differences with their signs');
            const colours = drawn.rows.map((row) => row.backgrounds[drawn.headers.indexOf('Difference')]);
            check(players.every((p, i) => (p.difference > 0 ? /47, 125, 79/ : p.difference < 0 ? /179, 38, 30/ : /^$/).test(colours[i])),
                  'a gain is green, a loss red: ' + colours.join(' | '));
            check(drawn.headers.includes('Deal value') === valued &&
                  (!valued || same(column(drawn, 'Deal value'), players.map((p) => fixed(p.deal_value, 2)))),
                  'the deal value shown where it differs from the payment');
            check(drawn.headers.includes('Of it bounty') === bounty &&
                  (!bounty || same(column(drawn, 'Of it bounty'), players.map((p) => fixed(p.bounty_ev, 2)))), 'the bounty part where dealt');
            // What the deal pays adds up to the money dealt (the bounty money with it
            // where dealt too); rounded, in whole units.
            const paid = column(drawn, 'The deal pays').reduce((sum, text) => sum + Number(text), 0);
            const round = splitWords(line).includes('--round') ? Number(splitWords(line)[splitWords(line).indexOf('--round') + 1]) : 0;
            check(Math.abs(paid - (theirs.prize_pool - theirs.kept_for_winner + (theirs.bounty_money || 0))) < 0.005 * players.length &&
                  (!round || column(drawn, 'The deal pays').every((text) => Number(text) % round === 0)),
                  'the payments add up to the money dealt, ' + paid);
            const terms = await page.$eval('#deal-terms', (e) => e.textContent);
            check(terms.startsWith('Split ' + split) && terms.includes('prize pool ' + fixed(theirs.prize_pool, 2)) &&
                  terms.includes(theirs.kept_for_winner ? fixed(theirs.kept_for_winner, 2) + ' kept' : 'nothing kept') &&
                  terms.includes(round ? 'multiples of ' + round : 'not rounded'), 'the terms: ' + terms);
            const select = await page.$eval('#split', (e) => e.selectedOptions.length ? e.selectedOptions[0].textContent : '');
            check(select === split, 'the split select shows ' + JSON.stringify(select));
        }

        // A split the select has not: left to the command, which names it.
        const unknown = 'deal --stacks 5000,3000,2000 --prizes 50,30,20 --split evenly';
        const { kept, message: refused } = await leftToCommand(page, base, unknown, '--split');
        check(kept === '--split evenly' && refused === nativeRun(splitWords(unknown)).stderr.trim() && refused.length > 0,
              'an unknown split goes to More options and the command\'s message: ' + refused);

        // ---- bubble factors: cell (row i, column j) is the pair's, as the command's table ----
        const bubbles = [
            'bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20',
            'bubble --stacks 5000,0,3000,2000 --prizes 50,30',
            'bubble --stacks 14200,9800,7600,5100,3300 --prizes 500,300,200,120',
            'bubble --stacks 5000,3000,2000,1000 --prizes 50,30,20 --seat 4',
        ];
        for (const line of bubbles) {
            await open(page, link(base, line));
            await waitDone(page);
            const theirs = json(line);
            const text = commandGrids(nativeRun(splitWords(line)).stdout);
            const rows = theirs.seat !== undefined ? [theirs.seat] : theirs.seats;
            for (const [key, id, title, show] of [['bubble_factors', '#bubble-factors', 'Bubble factor', (v) => fixed(v, 3)],
                                                  ['risk_premiums', '#risk-premiums', 'Risk premium', (v) => percent(v, 1)]]) {
                const drawn = await readTable(page, id);
                if (!drawn) {
                    check(false, title + ' grid drawn for ' + line);
                    continue;
                }
                check(same(drawn.headers.slice(1), theirs.seats.map((s) => 'vs ' + s)) &&
                      same(drawn.rows.map((r) => r.cells[0]), rows.map((s) => 'Seat ' + s)), title + ': rows and columns are the seats');
                const wanted = theirs[key].map((line, i) => line.map((v, j) => (rows[i] === theirs.seats[j] ? '' : v === null ? '-' : show(v))));
                check(same(drawn.rows.map((r) => r.cells.slice(1)), wanted), title + ' cells are the command\'s: ' + line);
                check(drawn.rows.every((r, i) => r.titles.slice(1).every((t, j) => typeof theirs[key][i][j] !== 'number' ||
                                                                                  t.endsWith(': ' + String(theirs[key][i][j])))),
                      title + ' cells keep the full value on hover');
                if (theirs.seat === undefined) {
                    // The command's own table: same row, same column, same cell; its diagonal is '-'.
                    const table = (text[title] || []).map((r) => r.cells.map((c, j) => (r.seat === theirs.seats[j] ? '' : c)));
                    check(same(table, wanted), title + ' grid reads as the command\'s table');
                }
            }
            const columns = await page.$$eval('#result table', (all) => all.map((t) => t.tHead.rows[0].cells.length));
            check(columns.length === 2 && columns.every((n) => n > 1), 'two grids and no one-column table: ' + columns);
        }

        // ---- equity: each player's shares in per cent, and how they were had ----
        const equities = [
            'allin AhKh QQ+,AKs 22+ --board 2c7d9h',
            'allin AdAc KhKs',
            'allin 5% 10% random --samples 20000 --seed 3',
            'allin "QQ+, AKs" JTs --samples 5000',
        ];
        for (const line of equities) {
            await open(page, link(base, line));
            await waitDone(page);
            const theirs = json(line);
            const drawn = await readTable(page, '#allin-table');
            if (!drawn) {
                check(false, 'an equity table for ' + line);
                continue;
            }
            check(same(column(drawn, 'Hand or range'), theirs.players.map((p) => p.range)), 'the ranges as the command names them');
            for (const [key, header] of [['equity', 'Equity'], ['win', 'Win'], ['tie', 'Tie']])
                check(same(column(drawn, header), theirs.players.map((p) => percent(p[key], 3))), header + ' is 100 x the command\'s: ' + line);
            const total = column(drawn, 'Equity').reduce((sum, text) => sum + parseFloat(text), 0);
            check(Math.abs(total - 100) <= 0.0005 * theirs.players.length + 1e-9, 'the equities add up to 100 %: ' + total);
            const how = await page.$eval('#allin-how', (e) => e.textContent);
            const last = nativeRun(splitWords(line)).stdout.trim().split('\n').pop();
            check(how.startsWith(last) && how.startsWith(theirs.exact ? 'Exact' : 'Sampled'), 'says how, as the command: ' + how);
        }

        // ---- one hand of a spot: a class's row, then a hand's outcomes ----
        const spotLine = 'spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 2 --range 3=QQ+,AK';
        await open(page, link(base, spotLine));
        await waitDone(page);
        await page.focus('#spot-grid [data-hand="AKs"]');
        await page.keyboard.press('Enter');
        await waitDone(page);
        const classRow = json(spotLine + ' --hand AKs').hands[0];
        const classDrawn = await readTable(page, '#class-table');
        check(classDrawn && same(classDrawn.rows[0].cells, ['AKs', String(classRow.combos), fixed(classRow.ev_fold, 4),
                                                            fixed(classRow.ev_play, 4), signed(classRow.difference, 4)]),
              'a class asked from the keyboard shows its row: ' + (classDrawn && classDrawn.rows[0].cells));
        const offered = await page.$$eval('#class-hands button', (all) => all.map((b) => b.textContent));
        check(same(offered, ['AcKc', 'AdKd', 'AhKh', 'AsKs']), 'and its hands: ' + offered);
        await page.focus('#class-hands button:nth-child(3)');
        await page.keyboard.press('Enter');
        await waitDone(page);
        check((await page.$eval('#command-line', (e) => e.textContent)).endsWith('--hand AhKh'), 'a hand of it asks for that hand');

        const hands = [
            [spotLine + ' --hand AhKh', null],
            ['spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 2 ' +
             '--range 2=22+,A2+ --hand AhKd', 'ICM'],
            ['spot --stacks 5000,3000,2000 --chip-ev --button 1 --blinds 100,200 --ante 25 --hero 3 --action call --shover 2 ' +
             '--range 2=22+,A2+ --hand AhKd', 'chips'],
            ['spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 --ante 25 --hero 1 --range 2=QQ+,AK ' +
             '--range 3=JJ+,AK --overcall 3=KK+ --shove 2=22+,A2+,K9+ --hand 9h8h', null],
        ];
        for (const [line, needed] of hands) {
            await open(page, link(base, line));
            await waitDone(page);
            const theirs = json(line);
            const names = commandOutcomes(nativeRun(splitWords(line)).stdout);
            for (const [branch, id, k] of [['fold', '#outcomes-fold', 0], ['play', '#outcomes-play', 1]]) {
                const drawn = await readTable(page, id);
                const outcomes = theirs[branch];
                if (!drawn) {
                    check(false, branch + ' outcomes drawn for ' + line);
                    continue;
                }
                check(same(drawn.rows.map((r) => r.cells[0]), names[k]), 'the outcomes named as the command names them: ' + names[k].join(', '));
                check(same(column(drawn, 'Chance'), outcomes.map((o) => percent(o.chance, 4))), 'their chances are the command\'s');
                const stacks = drawn.rows.map((r) => r.cells.slice(2, 2 + outcomes[0].stacks.length).map(Number));
                check(same(stacks, outcomes.map((o) => o.stacks)), 'the stacks after each are the command\'s');
                const unit = drawn.headers[drawn.headers.length - 1];
                check(same(column(drawn, unit), outcomes.map((o) => fixed(o.value, 4))), 'and the hero\'s ' + unit + ' there');
                const total = outcomes.reduce((sum, o) => sum + o.chance, 0);
                check(Math.abs(total - 1) < 1e-9, 'the chances of the ' + branch + ' add up to 1: ' + total);
            }
            const said = await page.$eval('#equity-needed', (e) => e.textContent).catch(() => null);
            check(needed === null ? said === null
                  : said.includes(percent(theirs.equity_needed_chips, 2) + ' under chip EV') && said.includes(percent(theirs.equity, 2)) &&
                    (needed !== 'ICM' || said.includes(percent(theirs.equity_needed, 2) + ' under ICM')),
                  'the equity a call needs: ' + said);
        }
        await page.click('#every-hand');
        await waitDone(page);
        check(await page.$$eval('#spot-grid [data-hand]', (c) => c.length) === 169 &&
              !(await page.$eval('#command-line', (e) => e.textContent)).includes('--hand'), 'back to the grid of every hand');

        // ---- names typed at the table: the bubble grid and the deal name the seats ----
        await open(page, link(base, 'bubble --stacks 5000,3000,2000 --prizes 50,30,20'));
        await waitDone(page);
        const typed = ['Anna', 'Bob', 'Chloé'];
        const nameInputs = await page.$$('#seats input.name');
        for (let i = 0; i < typed.length; ++i)
            await nameInputs[i].type(typed[i]);
        await page.click('#compute');
        await waitDone(page);
        const seatsFile = path.join(scratch, 'seats.txt');
        fs.writeFileSync(seatsFile, 'Anna,5000\nBob,3000\nChloé,2000\n');
        const named = JSON.parse(nativeRun(['bubble', '--stacks-file', seatsFile, '--prizes', '50,30,20', '--format', 'json']).stdout);
        const namedGrid = await readTable(page, '#bubble-factors');
        check(namedGrid && same(namedGrid.rows.map((r) => r.cells[0]), named.seats.map((s, i) => 'Seat ' + s + ' ' + named.names[i])) &&
              same(namedGrid.rows.map((r) => r.cells.slice(1)), named.bubble_factors.map((line) => line.map((v) => (v === null ? '' : fixed(v, 3))))),
              'named seats head the rows: ' + (namedGrid && namedGrid.rows.map((r) => r.cells[0])));
        await page.click('[data-view="deal"]');
        await page.click('#compute');
        await waitDone(page);
        const namedDeal = await readTable(page, '#deal-table');
        check(namedDeal && same(column(namedDeal, 'Name'), typed), 'the deal names its seats');

        // ---- a phone's width: each view within the screen ----
        await page.setViewport({ width: 390, height: 844 });
        for (const line of [deals[4][0], bubbles[2], equities[0], hands[3][0]]) {
            await open(page, link(base, line));
            await waitDone(page);
            const wide = await page.evaluate(() => document.documentElement.scrollWidth);
            check(wide <= 390, 'at 390 px the page is ' + wide + ' px wide: ' + line.split(' ')[0]);
        }
    } finally {
        await browser.close();
        server.kill();
        fs.rmSync(scratch, { recursive: true, force: true });
    }
    finish();
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
