/*
 * The 169 hand classes on the 13 x 13 grid (pairs on the diagonal, suited
 * above it, offsuit below), a class list read from and written to range
 * text, and the order the top-% slider fills the grid in. The command reads
 * every range itself; this only keeps the picker and the text in step.
 */
export const RANKS = 'AKQJT98765432';

// The class at row r, column c of the grid.
export function classAt(r, c) {
    if (r === c)
        return RANKS[r] + RANKS[c];
    return r < c ? RANKS[r] + RANKS[c] + 's' : RANKS[c] + RANKS[r] + 'o';
}

export const CLASSES = [];
for (let r = 0; r < 13; ++r)
    for (let c = 0; c < 13; ++c)
        CLASSES.push(classAt(r, c));

export function combos(name) {
    return name.length === 2 ? 6 : name[2] === 's' ? 4 : 12;
}

// The hands of a class by their cards, as the command reads them: AKs is
// AcKc, AdKd, AhKh, AsKs; AKo the twelve of two suits; AA the six pairs.
export function handsOf(name) {
    const suits = 'cdhs';
    const out = [];
    for (let a = 0; a < 4; ++a)
        for (let b = 0; b < 4; ++b) {
            const suited = a === b;
            if (name.length === 2 ? b > a : (name[2] === 's') === suited)
                out.push(name[0] + suits[a] + name[1] + suits[b]);
        }
    return out;
}

// A rough strength for the slider's order only: pairs by rank, then high
// cards, suitedness and connectedness. The command never sees it: the slider
// writes the classes it chose.
function strength(name) {
    const high = 12 - RANKS.indexOf(name[0]);
    const low = 12 - RANKS.indexOf(name[1]);
    if (name.length === 2)
        return 30 + high * 2.2;
    const gap = high - low - 1;
    return high * 2 + low * 1.1 + (name[2] === 's' ? 3 : 0) - Math.min(gap, 4) * 1.2 + (high === 12 ? 4 : 0);
}

export const BY_STRENGTH = CLASSES.slice().sort((a, b) => strength(b) - strength(a));

// The strongest classes filling `percent` of the 1,326 combos.
export function topClasses(percent) {
    const wanted = (1326 * percent) / 100;
    const chosen = [];
    let count = 0;
    for (const name of BY_STRENGTH) {
        if (count >= wanted - 1e-9)
            break;
        chosen.push(name);
        count += combos(name);
    }
    return chosen;
}

// The classes a range text names, as weights (1 unless `:w`): classes,
// pairs and kickers with +, two-card classes without a suit letter (both),
// and dashed spans. Anything else (cards, percentages) leaves the grid
// unknown for that item: null.
export function classesOf(text) {
    const weights = new Map();
    for (let item of text.split(',').map((part) => part.trim()).filter(Boolean)) {
        let weight = 1;
        const colon = item.indexOf(':');
        if (colon >= 0) {
            weight = Number(item.slice(colon + 1));
            item = item.slice(0, colon);
        }
        const names = expand(item);
        if (!names || !(weight >= 0))
            return null;
        for (const name of names)
            weights.set(name, weight);
    }
    return weights;
}

function rank(letter) {
    return RANKS.indexOf(letter.toUpperCase());
}

function expand(item) {
    const m = item.match(/^([2-9TJQKA])([2-9TJQKA])([so]?)(\+?)$/i);
    const span = item.match(/^([2-9TJQKA])([2-9TJQKA])([so]?)-([2-9TJQKA])([2-9TJQKA])([so]?)$/i);
    if (span) {
        const [a, b] = [expand(span[1] + span[2] + span[3]), expand(span[4] + span[5] + span[6])];
        if (!a || !b)
            return null;
        const pair = span[1].toUpperCase() === span[2].toUpperCase();
        const first = pair ? rank(span[1]) : rank(span[2]);
        const last = pair ? rank(span[4]) : rank(span[5]);
        const out = [];
        for (let i = Math.min(first, last); i <= Math.max(first, last); ++i)
            out.push(...(pair ? [RANKS[i] + RANKS[i]] : withSuits(span[1].toUpperCase() + RANKS[i], span[3])));
        return out;
    }
    if (!m)
        return null;
    const [hi, lo, suit, plus] = [rank(m[1]), rank(m[2]), m[3].toLowerCase(), m[4]];
    if (hi === lo) {
        if (suit)
            return null;
        const out = [];
        for (let i = plus ? 0 : hi; i <= hi; ++i)
            out.push(RANKS[i] + RANKS[i]);
        return out;
    }
    const [top, bottom] = hi < lo ? [hi, lo] : [lo, hi];
    const out = [];
    for (let k = plus ? top + 1 : bottom; k <= bottom; ++k)
        out.push(...withSuits(RANKS[top] + RANKS[k], suit));
    return out;
}

function withSuits(two, suit) {
    return suit ? [two + suit] : [two + 's', two + 'o'];
}

// Range text of chosen classes: the order of the grid, a weight where not 1.
export function textOf(weights) {
    return CLASSES.filter((name) => weights.has(name))
        .map((name) => (weights.get(name) === 1 ? name : name + ':' + weights.get(name)))
        .join(',');
}
