/*
 * The command's JSON answers drawn: tables shaded by value, the 13 x 13 grids
 * of a spot and of the equilibrium's decisions. Every number shown is the
 * command's, rounded only for display; hovering a cell shows it in full.
 */
import { classAt, handsOf } from './hands.js';

function element(tag, attributes, text) {
    const node = document.createElement(tag);
    for (const [key, value] of Object.entries(attributes || {}))
        node.setAttribute(key, value);
    if (text !== undefined)
        node.textContent = text;
    return node;
}

const number = (value, digits) =>
    typeof value === 'number' ? (Number.isInteger(value) && !digits ? String(value) : value.toFixed(digits === undefined ? 4 : digits)) : value === null || value === undefined ? '' : String(value);
const percent = (share, digits) => (typeof share === 'number' ? (share * 100).toFixed(digits === undefined ? 2 : digits) + '%' : '');
const money = (value) => number(value, 2);
// A value with its sign; one that rounds to zero shows none.
function signed(value, digits) {
    const text = Math.abs(value).toFixed(digits);
    return (/[1-9]/.test(text) ? (value > 0 ? '+' : '-') : '') + text;
}
// A number shown rounded, in full on hover.
const full = (value, text, more) => ({ text, title: value === null || value === undefined ? '' : String(value), ...more });
// The value of an option on the command line asked, or undefined.
function optionOf(words, option) {
    const at = (words || []).lastIndexOf(option);
    return at >= 0 ? words[at + 1] : undefined;
}

// A cell shaded from white to blue by `share` (0..1).
function shade(cell, share) {
    if (typeof share === 'number' && isFinite(share)) {
        const s = Math.max(0, Math.min(1, share));
        cell.style.background = 'rgba(47, 110, 186, ' + (s * 0.75).toFixed(3) + ')';
        if (s > 0.55)
            cell.style.color = '#fff';
    }
}

// A cell shaded green (a gain) or red (a loss) by `share` (0..1) of the largest.
function shadeSigned(cell, value, share) {
    if (typeof value === 'number' && value !== 0 && isFinite(share)) {
        const s = Math.max(0, Math.min(1, share));
        cell.style.background = (value > 0 ? 'rgba(47, 125, 79, ' : 'rgba(179, 38, 30, ') + (0.12 + 0.43 * s).toFixed(3) + ')';
    }
}

// A table in its own scrolling box. A cell is its text, or {text, title,
// shade, signed (the value shaded green or red), header (a row heading),
// kind (a class: text, diagonal)}.
function table(headers, rows, caption, id) {
    const box = element('div', { class: 'scroll' });
    const node = element('table', id ? { id } : {});
    if (caption)
        node.appendChild(element('caption', {}, caption));
    const head = node.createTHead().insertRow();
    for (const header of headers)
        head.appendChild(element('th', { scope: 'col' }, header));
    const body = node.createTBody();
    for (const row of rows) {
        const tr = body.insertRow();
        for (const cell of row) {
            const td = cell && typeof cell === 'object' && cell.header ? tr.appendChild(element('th', { scope: 'row' })) : tr.insertCell();
            if (cell && typeof cell === 'object') {
                td.textContent = cell.text;
                if (cell.kind)
                    td.className = cell.kind;
                if (cell.title)
                    td.title = cell.title;
                shade(td, cell.shade);
                if (cell.signed !== undefined)
                    shadeSigned(td, cell.signed, cell.share);
            } else {
                td.textContent = cell;
            }
        }
    }
    // Row headings: the first column reads from the left.
    if (rows.some((row) => row.some((cell) => cell && cell.header)))
        node.classList.add('headed');
    box.appendChild(node);
    return box;
}

// Scalars of an answer as a short list; arrays of objects as tables; arrays
// of number rows as shaded grids: any answer, whatever its shape.
function generic(target, answer, title) {
    if (title)
        target.appendChild(element('h3', {}, title));
    const facts = element('dl');
    for (const [key, value] of Object.entries(answer)) {
        if (value === null || typeof value !== 'object') {
            facts.appendChild(element('dt', {}, key.replace(/_/g, ' ')));
            facts.appendChild(element('dd', {}, number(value, typeof value === 'number' && !Number.isInteger(value) ? 6 : undefined)));
        }
    }
    if (facts.children.length)
        target.appendChild(facts);
    for (const [key, value] of Object.entries(answer)) {
        if (Array.isArray(value) && value.length && typeof value[0] === 'object' && !Array.isArray(value[0])) {
            const headers = [...new Set(value.flatMap((row) => Object.keys(row)))];
            const flat = headers.filter((h) => !value.some((row) => row[h] && typeof row[h] === 'object'));
            target.appendChild(table(flat.map((h) => h.replace(/_/g, ' ')), value.map((row) => flat.map((h) => number(row[h]))), key.replace(/_/g, ' ')));
            value.forEach((row, i) => {
                for (const h of headers.filter((x) => !flat.includes(x)))
                    if (row[h] && typeof row[h] === 'object')
                        grid(target, row[h], key + ' ' + (i + 1) + ': ' + h.replace(/_/g, ' '));
            });
        } else if (Array.isArray(value) && value.length && Array.isArray(value[0])) {
            grid(target, value, key.replace(/_/g, ' '));
        } else if (value && typeof value === 'object' && !Array.isArray(value)) {
            generic(target, value, key.replace(/_/g, ' '));
        } else if (Array.isArray(value) && value.length) {
            target.appendChild(table([key.replace(/_/g, ' ')], value.map((v) => [number(v)])));
        }
    }
}

function grid(target, rows, caption) {
    if (!Array.isArray(rows)) {
        target.appendChild(table(Object.keys(rows), [Object.values(rows).map((v) => number(v))], caption));
        return;
    }
    const numbers = rows.flat().filter((v) => typeof v === 'number');
    const top = Math.max(...numbers.map(Math.abs), 1e-300);
    target.appendChild(table(['', ...rows[0].map((_, i) => String(i + 1))],
        rows.map((row, i) => [String(i + 1), ...row.map((v) => ({ text: number(v), title: String(v), shade: typeof v === 'number' ? Math.abs(v) / top : null }))]), caption));
}

function equity(target, answer) {
    const players = answer.players || [];
    const named = players.some((p) => p.name);
    // With bounty money in play, each seat's bounty $EV and the total beside.
    const bounty = players.some((p) => p.bounty_ev !== undefined);
    target.appendChild(table(['Seat', ...(named ? ['Name'] : []), 'Stack', 'Chips %', '$EV', 'Pool %',
                              ...(bounty ? ['Bounty $EV', 'Total $EV'] : [])],
        players.map((p) => [String(p.seat), ...(named ? [p.name || ''] : []), String(p.stack), percent(p.chip_share),
            { text: number(p.equity), title: String(p.equity) }, { text: percent(p.pool_share), shade: p.pool_share },
            ...(bounty ? [full(p.bounty_ev, number(p.bounty_ev, 4)), full(p.total_ev, number(p.total_ev, 4))] : [])]),
        'Prize pool ' + number(answer.prize_pool, 2) + (answer.method ? ' (' + answer.method + ')' : ''), 'ev-table'));
    if (bounty)
        target.appendChild(element('p', { class: 'note', id: 'bounty-money' }, 'Bounty money in play ' + money(answer.bounty_money) +
            '. Bounty $EV: a seat\'s share of it, by its share of the chips; Total $EV: the prizes\' $EV and the bounty $EV.'));
}

// The finish chances of the field shown, a row per seat, shaded.
export function drawFinish(target, finish) {
    const seats = finish.players || finish.seats;
    if (seats && seats.length && seats[0].places) {
        const places = seats[0].places.length;
        target.appendChild(table(['Seat', ...Array.from({ length: places }, (_, i) => 'Place ' + (i + 1))],
            seats.map((s) => [String(s.seat), ...s.places.map((p) => ({ text: percent(p), title: String(p), shade: p }))]),
            'Finish chances', 'finish-table'));
    }
}

// A 13 x 13 grid of hand classes, each with its value, colour and title.
function handGrid(valueOf, colourOf, titleOf, onClick) {
    const box = element('div', { class: 'grid', role: 'grid' });
    for (let r = 0; r < 13; ++r) {
        for (let c = 0; c < 13; ++c) {
            const hand = classAt(r, c);
            const cell = element('div', { role: 'gridcell', 'data-hand': hand, tabindex: onClick ? '0' : '-1' }, hand);
            const colour = colourOf(hand);
            if (colour)
                cell.style.background = colour;
            cell.title = titleOf(hand);
            cell.setAttribute('aria-label', cell.title);
            if (onClick) {
                cell.addEventListener('click', () => onClick(hand));
                cell.addEventListener('keydown', (event) => {
                    if (event.key === 'Enter' || event.key === ' ') {
                        event.preventDefault();
                        onClick(hand);
                    }
                });
            }
            box.appendChild(cell);
        }
    }
    return box;
}

function spot(target, answer, extras) {
    if (answer.fold && answer.play) {
        handOutcomes(target, answer, extras);
        return;
    }
    const hands = new Map((answer.hands || []).map((h) => [h.hand, h]));
    if (!hands.size) {
        generic(target, answer);
        return;
    }
    if (hands.size === 1 && optionOf(extras.words, '--hand')) {
        oneClass(target, answer, extras);
        return;
    }
    target.appendChild(element('h3', {}, 'Seat ' + answer.hero + ' (' + answer.position + '): ' + answer.action));
    const top = Math.max(...[...hands.values()].map((h) => Math.abs(h.difference)), 1e-300);
    const hover = element('p', { id: 'hover' }, 'Hover or tap a hand for its values; click for its outcomes.');
    const describe = (hand) => {
        const h = hands.get(hand);
        return h ? hand + ': fold ' + number(h.ev_fold) + ', play ' + number(h.ev_play) + ', difference ' + number(h.difference, 6) : hand;
    };
    const box = handGrid(
        (hand) => hands.get(hand),
        (hand) => {
            const h = hands.get(hand);
            if (!h)
                return '';
            const s = Math.min(1, Math.abs(h.difference) / top);
            return h.difference > 0 ? 'rgba(47, 125, 79, ' + (0.2 + 0.8 * s).toFixed(3) + ')' : 'rgba(179, 38, 30, ' + (0.15 + 0.6 * s).toFixed(3) + ')';
        },
        describe,
        (hand) => extras.handOutcomes(hand));
    box.id = 'spot-grid';
    box.addEventListener('pointerover', (event) => {
        const cell = event.target.closest('[data-hand]');
        if (cell)
            hover.textContent = describe(cell.dataset.hand);
    });
    box.addEventListener('focusin', (event) => (hover.textContent = describe(event.target.dataset.hand)));
    target.appendChild(box);
    target.appendChild(hover);
    target.appendChild(element('p', {}, 'Plays: ' + (answer.range || 'nothing') + ' (' + percent(answer.range_share) + ' of combos)'));
    const rest = Object.fromEntries(Object.entries(answer).filter(([key]) => key !== 'hands'));
    generic(target, rest);
}

function nash(target, answer, extras) {
    target.appendChild(element('p', {}, 'Exploitability ' + number(answer.exploitability, 6) + ' after ' + answer.iterations + ' iterations'));
    target.appendChild(table(['Seat', 'Pos', 'Stack', '$EV before', '$EV at equilibrium'],
        (answer.seats || []).map((s) => [String(s.seat), s.position, number(s.stack), number(s.ev_before), number(s.ev_equilibrium)])));
    const charts = element('div', { id: 'charts' });
    for (const decision of answer.decisions || []) {
        const chart = element('div', { class: 'chart' });
        const versus = (decision.versus || []).length ? ' vs ' + decision.versus.join(', ') : '';
        chart.appendChild(element('h3', {}, 'Seat ' + decision.seat + ' (' + decision.position + ') ' + decision.action + versus +
            ': ' + (decision.range || 'nothing') + ' (' + percent(decision.share) + ')'));
        const frequencies = decision.frequencies || {};
        chart.appendChild(handGrid(
            (hand) => frequencies[hand],
            (hand) => 'rgba(47, 125, 79, ' + (0.08 + 0.92 * (frequencies[hand] || 0)).toFixed(3) + ')',
            (hand) => hand + ': ' + number((frequencies[hand] || 0) * 100, 1) + '%',
            null));
        const open = element('button', { type: 'button' }, 'Open as a spot');
        open.addEventListener('click', () => extras.openSpot(decision, answer.decisions));
        chart.appendChild(open);
        charts.appendChild(chart);
    }
    target.appendChild(charts);
}

// ---- a deal ----

const SPLITS = { icm: 'each player paid his $EV', chip: 'by chips, above the lowest prize still in play', even: 'in equal parts' };

function deal(target, answer, extras) {
    const players = answer.players || [];
    const named = players.some((p) => p.name);
    const bounty = players.some((p) => p.bounty_ev !== undefined);
    // The deal value differs from the payment once rounded or with money kept.
    const valued = players.some((p) => p.deal_value !== p.payment);
    const round = optionOf(extras.words, '--round');
    const kept = answer.kept_for_winner;
    const facts = element('p', { id: 'deal-terms' });
    facts.textContent = 'Split ' + answer.split + (SPLITS[answer.split] ? ' (' + SPLITS[answer.split] + ')' : '') +
        '; prize pool ' + money(answer.prize_pool) +
        (kept ? '; ' + money(kept) + ' kept on the table for the winner to play for' : '; nothing kept to play for') +
        (round ? '; prizes paid in multiples of ' + round : '; not rounded') +
        (answer.bounty_money !== undefined ? '; bounty money dealt too: ' + money(answer.bounty_money) : '') +
        (answer.method ? '; method ' + answer.method : '') + '.';
    target.appendChild(facts);
    const top = Math.max(...players.map((p) => Math.abs(p.difference)), 1e-300);
    target.appendChild(table(
        ['Seat', ...(named ? ['Name'] : []), 'Stack', 'The deal pays', ...(valued ? ['Deal value'] : []), '$EV playing on', 'Difference',
         ...(bounty ? ['Of it bounty'] : [])],
        players.map((p) => [{ text: String(p.seat), header: true }, ...(named ? [p.name || ''] : []), String(p.stack),
            full(p.payment, money(p.payment)), ...(valued ? [full(p.deal_value, money(p.deal_value))] : []),
            full(p.equity, money(p.equity)),
            full(p.difference, signed(p.difference, 2), { signed: p.difference, share: Math.abs(p.difference) / top }),
            ...(bounty ? [full(p.bounty_ev, money(p.bounty_ev))] : [])]),
        'The deal, seat by seat', 'deal-table'));
    target.appendChild(element('p', { class: 'note' }, 'Difference: the deal value less the $EV of playing on, what the deal gives (green) or ' +
        'takes (red) against playing on.' + (bounty ? ' Of it bounty: the part of the $EV that is bounty money.' : '')));
}

// ---- bubble factors ----

function bubble(target, answer) {
    const seats = answer.seats || [];
    const names = answer.names;
    const who = (i) => 'seat ' + seats[i] + (names ? ' (' + names[i] + ')' : '');
    // With --seat N, one row: seat N's.
    const rows = answer.seat !== undefined ? [seats.indexOf(answer.seat)] : seats.map((_, i) => i);
    target.appendChild(element('p', { id: 'bubble-key' }, 'Each row is the player who risks his stack (up to the smaller of the two) ' +
        'against the opponent of the column' + (answer.method ? '; method ' + answer.method : '') + '.'));
    const draw = (grid, show, caption, id, explanation, lowest) => {
        const values = grid.flat().filter((v) => typeof v === 'number');
        const top = Math.max(...values, lowest + 1e-300);
        target.appendChild(table(['Row vs column', ...seats.map((seat, j) => 'vs ' + seat + (names ? ' ' + names[j] : ''))],
            grid.map((line, r) => [{ text: 'Seat ' + seats[rows[r]] + (names ? ' ' + names[rows[r]] : ''), header: true },
                ...line.map((v, j) => rows[r] === j ? { text: '', title: '', kind: 'diagonal' }
                    : v === null ? { text: '-', title: who(rows[r]) + ' against ' + who(j) + ': undefined, winning would not raise his $EV' }
                        : { text: show(v), title: who(rows[r]) + ' against ' + who(j) + ': ' + v, shade: (v - lowest) / (top - lowest) })]),
            caption, id));
        target.appendChild(element('p', { class: 'note' }, explanation));
    };
    draw(answer.bubble_factors || [], (v) => v.toFixed(3), 'Bubble factors', 'bubble-factors',
        'Bubble factor: the $EV the row\'s player loses by losing the hand divided by the $EV he gains by winning it. ' +
        'A factor of 1.5 means that a call needs 1.5 / 2.5 = 60 % chance to win instead of 50 %. A dash: no factor, winning would not raise his $EV.', 1);
    draw(answer.risk_premiums || [], (v) => percent(v, 1), 'Risk premiums', 'risk-premiums',
        'Risk premium: the chance to win a call needs beyond 50 %, BF / (BF + 1) - 50 % (10 % for a factor of 1.5).', 0);
}

// ---- all-in equity ----

function allin(target, answer, extras) {
    const players = answer.players || [];
    target.appendChild(table(['Player', 'Hand or range', 'Combos', 'Equity', 'Win', 'Tie'],
        players.map((p, i) => [{ text: String(i + 1), header: true }, { text: p.range, kind: 'text' }, full(p.combos, number(p.combos, Number.isInteger(p.combos) ? undefined : 2)),
            full(p.equity, percent(p.equity, 3), { shade: p.equity }), full(p.win, percent(p.win, 3)), full(p.tie, percent(p.tie, 3))]),
        'Each hand\'s share of the pot', 'allin-table'));
    const how = answer.exact
        ? 'Exact: every board, ' + answer.boards + ' for each deal of hole cards.'
        : 'Sampled: ' + answer.samples + ' showdowns (seed ' + (optionOf(extras.words, '--seed') || '1') + '), standard error ' +
          percent(answer.standard_error, 3) + ' (the largest of the players\' standard errors of equity).';
    target.appendChild(element('p', { id: 'allin-how' }, how));
    target.appendChild(element('p', { class: 'note' }, 'Equity: the share of the pot, split pots shared; win: alone the best hand; ' +
        'tie: the best hand together with others.'));
}

// ---- one hand of a spot ----

const PLAY = { 'first-in': 'shove', call: 'call', overcall: 'overcall' };

// "seat 2 takes the pot", "seat 2 > seat 3", "seat 2 = seat 3 > seat 1".
function outcomeName(outcome) {
    const players = outcome.players || [];
    if (players.length === 1)
        return 'seat ' + players[0] + ' takes the pot';
    const ranks = [...new Set(outcome.finish)].sort((a, b) => a - b);
    return ranks.map((rank) => players.filter((_, k) => outcome.finish[k] === rank).map((seat) => 'seat ' + seat).join(' = ')).join(' > ');
}

function backToGrid(target, extras) {
    const back = element('button', { type: 'button', id: 'every-hand' }, 'Back to every hand');
    back.addEventListener('click', () => extras.handOutcomes(''));
    target.appendChild(back);
}

function handOutcomes(target, answer, extras) {
    const play = PLAY[answer.action] || answer.action;
    const unit = (extras.words || []).includes('--chip-ev') ? 'Chips' : '$EV';
    target.appendChild(element('h3', {}, 'Seat ' + answer.hero + (answer.position ? ' (' + answer.position + ')' : '') + ', hand ' + answer.hand +
        ': ' + play + ' or fold'));
    const difference = answer.difference;
    const verdict = element('p', { id: 'hand-verdict' });
    verdict.textContent = unit + ': ' + play + ' ' + number(answer.ev_play, 4) + ', fold ' + number(answer.ev_fold, 4) + ', difference ' +
        signed(difference, 4) + ': ' + (difference > 0 ? play : 'fold') + '. Chips after, on average: ' + play + ' ' +
        number(answer.chips_play, 1) + ', fold ' + number(answer.chips_fold, 1) + '.';
    target.appendChild(verdict);
    if (answer.standard_error > 0)
        target.appendChild(element('p', {}, 'Standard error of the ' + play + ' value (three-way pots drawn): ' + number(answer.standard_error, 6)));
    for (const [branch, caption, id] of [['fold', 'If he folds', 'outcomes-fold'], ['play', 'If he ' + play + 's', 'outcomes-play']]) {
        const outcomes = answer[branch] || [];
        const seats = outcomes.length ? outcomes[0].stacks.length : 0;
        const bounty = outcomes.some((o) => o.bounty_cash !== undefined);
        target.appendChild(table(
            ['Outcome', 'Chance', ...Array.from({ length: seats }, (_, i) => 'Seat ' + (i + 1) + (i + 1 === answer.hero ? ' (hero)' : '')),
             ...(bounty ? ['Bounty cash'] : []), unit],
            outcomes.map((o) => [{ text: outcomeName(o), header: true }, full(o.chance, percent(o.chance, 4), { shade: o.chance }),
                ...o.stacks.map((stack) => number(stack)), ...(bounty ? [full(o.bounty_cash, money(o.bounty_cash))] : []),
                full(o.value, number(o.value, 4))]),
            caption, id));
    }
    target.appendChild(element('p', { class: 'note' }, 'Each outcome with its chance, the stacks after it and the hero\'s ' + unit + ' there.'));
    if (answer.equity_needed !== undefined) {
        const chips = unit === 'Chips';
        const bounties = answer.equity_needed_without_bounties !== undefined;
        target.appendChild(element('p', { id: 'equity-needed' }, 'Equity needed to call in a heads-up pot: ' +
            (chips ? percent(answer.equity_needed_chips) + ' under chip EV'
             : bounties ? percent(answer.equity_needed) + ' with the bounties, ' + percent(answer.equity_needed_without_bounties) +
                          ' without them, ' + percent(answer.equity_needed_chips) + ' under chip EV'
             : percent(answer.equity_needed) + ' under ICM, ' + percent(answer.equity_needed_chips) + ' under chip EV') +
            '; ' + answer.hand + ' has ' + percent(answer.equity) + ' against the shover\'s range.'));
    }
    backToGrid(target, extras);
}

// A class asked by name: its row, each value the average over its hands,
// and its hands by their cards, each opening its outcomes.
function oneClass(target, answer, extras) {
    const one = answer.hands[0];
    const play = PLAY[answer.action] || answer.action;
    target.appendChild(element('h3', {}, 'Seat ' + answer.hero + (answer.position ? ' (' + answer.position + ')' : '') + ', ' + one.hand +
        ': ' + play + ' or fold'));
    target.appendChild(table(['Hand', 'Combos', 'Fold', play[0].toUpperCase() + play.slice(1), 'Difference'],
        [[{ text: one.hand, header: true }, full(one.combos, number(one.combos, Number.isInteger(one.combos) ? undefined : 2)),
          full(one.ev_fold, number(one.ev_fold, 4)), full(one.ev_play, number(one.ev_play, 4)),
          full(one.difference, signed(one.difference, 4), { signed: one.difference, share: 0.6 })]], null, 'class-table'));
    target.appendChild(element('p', {}, one.hand + ' stands for each of its hands, its values their average. Its hands, each with its outcomes:'));
    const list = element('div', { class: 'row', id: 'class-hands' });
    for (const hand of handsOf(one.hand)) {
        const button = element('button', { type: 'button' }, hand);
        button.addEventListener('click', () => extras.handOutcomes(hand));
        list.appendChild(button);
    }
    target.appendChild(list);
    backToGrid(target, extras);
}

export function drawAnswer(target, view, answer, extras) {
    if (view === 'equity' && answer.players)
        equity(target, answer);
    else if (view === 'deal' && answer.players)
        deal(target, answer, extras);
    else if (view === 'bubble' && answer.bubble_factors)
        bubble(target, answer);
    else if (view === 'allin' && answer.players)
        allin(target, answer, extras);
    else if (view === 'spot')
        spot(target, answer, extras);
    else if (view === 'nash' && answer.decisions)
        nash(target, answer, extras);
    else
        generic(target, answer);
}
