/*
 * The command's JSON answers drawn: tables shaded by value, the 13 x 13 grids
 * of a spot and of the equilibrium's decisions. Every number shown is the
 * command's, rounded only for display; hovering a cell shows it in full.
 */
import { classAt } from './hands.js';

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
const percent = (share) => (typeof share === 'number' ? (share * 100).toFixed(2) + '%' : '');

// A cell shaded from white to blue by `share` (0..1).
function shade(cell, share) {
    if (typeof share === 'number' && isFinite(share)) {
        const s = Math.max(0, Math.min(1, share));
        cell.style.background = 'rgba(47, 110, 186, ' + (s * 0.75).toFixed(3) + ')';
        if (s > 0.55)
            cell.style.color = '#fff';
    }
}

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
            const td = tr.insertCell();
            if (cell && typeof cell === 'object') {
                td.textContent = cell.text;
                if (cell.title)
                    td.title = cell.title;
                shade(td, cell.shade);
            } else {
                td.textContent = cell;
            }
        }
    }
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
    target.appendChild(table(['Seat', ...(named ? ['Name'] : []), 'Stack', 'Chips %', '$EV', 'Pool %'],
        players.map((p) => [String(p.seat), ...(named ? [p.name || ''] : []), number(p.stack), percent(p.chip_share),
            { text: number(p.equity), title: String(p.equity) }, { text: percent(p.pool_share), shade: p.pool_share }]),
        'Prize pool ' + number(answer.prize_pool, 2) + (answer.method ? ' (' + answer.method + ')' : ''), 'ev-table'));
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
    const hands = new Map((answer.hands || []).map((h) => [h.hand, h]));
    if (!hands.size) {
        generic(target, answer);
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

export function drawAnswer(target, view, answer, extras) {
    if (view === 'equity' && answer.players)
        equity(target, answer);
    else if (view === 'spot')
        spot(target, answer, extras);
    else if (view === 'nash' && answer.decisions)
        nash(target, answer, extras);
    else
        generic(target, answer);
}
