/*
 * The page: one table form shared by every view, turned into the words of an
 * ostrel-icm command line and back. The command itself (compiled to
 * WebAssembly) runs in a worker and answers as it does on a terminal; the
 * page draws its JSON, or shows its own text or picture when the line asks
 * for a format. The address after # is the command line; opening it fills
 * the form and computes. Bad input is the command's message, beside its field.
 */
import { setupPickers } from './pickers.js';
import { drawAnswer, drawFinish } from './views.js';

const { splitWords, joinWords } = window.OstrelLine;
const $ = (id) => document.getElementById(id);
const SEAT_NAMES_FILE = 'seats.txt';
let textToGrid = () => {}; // the pickers', once built
let markCards = () => {};

// ---- the worker: one command line at a time; Cancel ends the worker ----

let worker = null;
let ready = null;
let running = null; // {id, resolve, reject}
let nextId = 1;

function startWorker() {
    worker = new Worker('worker.js');
    ready = new Promise((resolve, reject) => {
        worker.onmessage = (event) => {
            const data = event.data;
            if (data.ready)
                return resolve();
            if (data.failure && !data.id)
                return reject(new Error(data.failure));
            if (!running || data.id !== running.id)
                return;
            if (data.progress)
                return showProgress(data.progress);
            const done = running;
            running = null;
            if (data.failure)
                done.reject(new Error(data.failure));
            else
                done.resolve(data);
        };
    });
}

async function runCommand(args, files) {
    await ready;
    return new Promise((resolve, reject) => {
        running = { id: nextId++, resolve, reject };
        worker.postMessage({ id: running.id, args, files });
    });
}

function cancel() {
    if (!running)
        return;
    worker.terminate();
    const stopped = running;
    running = null;
    stopped.reject(new Error('cancelled'));
    startWorker();
}

function showProgress({ done, iterations, exploitability }) {
    const bar = $('progress');
    bar.hidden = false;
    bar.dataset.reports = String(Number(bar.dataset.reports || 0) + 1);
    if (done >= 0)
        bar.value = done;
    else
        bar.removeAttribute('value');
    $('status').textContent = iterations
        ? 'iteration ' + iterations + ', exploitability ' + exploitability.toPrecision(4)
        : Math.round(done * 100) + '%';
}

// ---- the form ----

let view = 'equity';
let command = 'equity'; // the view's, or the link's own (finish for $EV)
const COMMAND_OF_VIEW = { equity: 'equity', deal: 'deal', bubble: 'bubble', allin: 'allin', spot: 'spot', nash: 'nash' };
const VIEW_OF_COMMAND = { equity: 'equity', finish: 'equity', deal: 'deal', bubble: 'bubble', allin: 'allin', spot: 'spot', nash: 'nash' };

function seatRow(name, stack, bounty) {
    const row = document.createElement('tr');
    row.innerHTML = '<th scope="row"></th><td><input class="name" autocomplete="off"></td>' +
        '<td><input class="stack" inputmode="decimal"></td><td class="bounty-cell"><input class="bounty" inputmode="decimal"></td>' +
        '<td><button type="button" class="remove">×</button></td>';
    row.querySelector('.name').value = name || '';
    row.querySelector('.stack').value = stack || '';
    row.querySelector('.bounty').value = bounty || '';
    $('seats').tBodies[0].appendChild(row);
}

function setSeats(list) {
    $('seats').tBodies[0].innerHTML = '';
    for (const seat of list)
        seatRow(seat.name, seat.stack, seat.bounty);
    renumber();
}

function renumber() {
    const rows = [...$('seats').tBodies[0].rows];
    rows.forEach((row, i) => {
        row.cells[0].textContent = i + 1;
        row.querySelector('.name').setAttribute('aria-label', 'Name of seat ' + (i + 1));
        row.querySelector('.stack').setAttribute('aria-label', 'Stack of seat ' + (i + 1));
        row.querySelector('.bounty').setAttribute('aria-label', 'Bounty of seat ' + (i + 1));
        row.querySelector('.remove').setAttribute('aria-label', 'Remove seat ' + (i + 1));
    });
    const button = $('button');
    const chosen = button.value;
    button.innerHTML = rows.map((_, i) => '<option>' + (i + 1) + '</option>').join('');
    if (chosen && Number(chosen) <= rows.length)
        button.value = chosen;
}

function seats() {
    return [...$('seats').tBodies[0].rows].map((row) => ({
        name: row.querySelector('.name').value.trim(),
        stack: row.querySelector('.stack').value.trim(),
        bounty: row.querySelector('.bounty').value.trim(),
    }));
}

function handInputs() {
    return [...$('hands').querySelectorAll('input')];
}

function addHand(value) {
    const count = handInputs().length + 1;
    const label = document.createElement('label');
    label.innerHTML = 'Hand or range ' + count + ' <input autocomplete="off">';
    label.querySelector('input').value = value || '';
    $('hands').appendChild(label);
    return label.querySelector('input');
}

function setHands(list) {
    $('hands').innerHTML = '';
    for (const hand of list)
        addHand(hand);
    while (handInputs().length < 2)
        addHand('');
}

const value = (id) => $(id).value.trim();

// Files picked for --stacks-file and --pos: written into the module's file
// system under their names, and kept with the last table.
const picked = { stacks: null, pos: null }; // {name, text}

// The words after ostrel-icm for the form; `files` receives what the module
// needs written (the seats' names). `format` is the one typed, if any.
function formWords(files) {
    const words = [command];
    const add = (option, text) => {
        if (text !== '')
            words.push(option, text);
    };
    if (view === 'allin') {
        words.push(...handInputs().map((input) => input.value.trim()).filter(Boolean));
        add('--board', value('board'));
        add('--dead', value('dead'));
        add('--samples', value('samples'));
        add('--seed', value('seed'));
    } else {
        const list = seats();
        // A seat left unnamed among named ones is "Seat N", its number.
        const names = list.map((seat, i) => seat.name || 'Seat ' + (i + 1));
        if (picked.stacks) {
            files[picked.stacks.name] = picked.stacks.text;
            add('--stacks-file', picked.stacks.name);
        } else {
            add('--stacks', list.map((seat) => seat.stack).join(','));
            if (list.some((seat) => seat.name))
                add('--names', names.join(','));
        }
        if ($('in-bb').checked)
            words.push('--in-bb');
        if (view === 'spot' || view === 'nash') {
            add('--button', value('button'));
            const blinds = [value('small-blind'), value('big-blind')].filter(Boolean).join(',');
            add('--blinds', blinds);
            add($('bb-ante').checked ? '--bb-ante' : '--ante', value('ante'));
        } else if ($('in-bb').checked) {
            add('--blinds', [value('small-blind'), value('big-blind')].filter(Boolean).join(','));
        }
        if ($('chip-ev').checked && (view === 'spot' || view === 'nash'))
            words.push('--chip-ev');
        else if (picked.pos) {
            files[picked.pos.name] = picked.pos.text;
            add('--pos', picked.pos.name);
            add('--pool', value('pool'));
        } else {
            const prizes = value('prizes').split(/[\s,;]+/).filter(Boolean);
            const kind = $('prize-kind').value;
            add('--prizes', prizes.map((p) => (kind === 'percent' && !p.endsWith('%') ? p + '%' : p)).join(','));
            if (kind === 'percent')
                add('--pool', value('pool'));
        }
        if (view === 'spot' || view === 'nash')
            add('--others', value('others'));
        if (bountiesOn()) {
            // equity and deal value the bounty money in play only; spot and
            // nash pay it out in the hand too.
            const inHand = command === 'spot' || command === 'nash';
            if (!picked.stacks && list.some((seat) => seat.bounty))
                add('--bounties', list.map((seat) => seat.bounty).join(','));
            if (inHand)
                add('--bounty-share', $('bounty-kind').value === 'share' ? value('bounty-share') : SHARE_OF_KIND[$('bounty-kind').value]);
            add('--bounty-pool', value('bounty-pool'));
            if (inHand)
                add('--others-bounties', value('others-bounties'));
            if (inHand && $('chip-ev').checked)
                add('--chips-per-unit', value('chips-per-unit'));
            if (command === 'deal' && $('deal-bounties').checked)
                words.push('--deal-bounties');
        }
        if (view === 'deal') {
            add('--split', value('split'));
            add('--keep', value('keep'));
            add('--round', value('round'));
        }
        if (view === 'spot') {
            add('--hero', value('hero'));
            add('--action', value('action'));
            add('--shover', value('shover'));
            add('--caller', value('caller'));
            for (const line of value('ranges').split('\n').map((l) => l.trim()).filter(Boolean)) {
                const overcall = line.startsWith('overcall ');
                add(overcall ? '--overcall' : '--range', overcall ? line.slice(9).trim() : line);
            }
            add('--hand', value('hand'));
        }
        if (view === 'nash') {
            add('--tolerance', value('tolerance'));
            add('--draws', value('draws'));
        }
    }
    words.push(...splitWords(value('more')));
    add('--format', $('format').value);
    return words;
}

// Bounties are on for the commands that take them once a kind is chosen.
const BOUNTY_COMMANDS = ['equity', 'deal', 'spot', 'nash'];
const BOUNTY_OPTIONS = ['--bounties', '--bounty-pool', '--bounty-share', '--others-bounties', '--chips-per-unit', '--deal-bounties'];
const SHARE_OF_KIND = { knockout: '', progressive: '0.5' }; // the share paid in cash; a knockout's, 1, is the default

function bountiesOn() {
    return $('bounty-kind').value !== '' && BOUNTY_COMMANDS.includes(command);
}

// The kind of bounties a line's options make, and the typed share if none.
function bountyKind(options) {
    if (!BOUNTY_OPTIONS.some((option) => options[option] !== undefined))
        return ['', ''];
    const share = options['--bounty-share'];
    if (share === undefined || share.trim() === '1')
        return ['knockout', ''];
    if (share.trim() === '0.5')
        return ['progressive', ''];
    return ['share', share];
}

// The form from a command line's words; what the form has no field for goes
// to "More options", so that no word is lost.
function fillForm(words, files) {
    view = VIEW_OF_COMMAND[words[0]] || 'equity';
    command = VIEW_OF_COMMAND[words[0]] ? words[0] : COMMAND_OF_VIEW[view];
    const more = [];
    const options = {};
    const ranges = [];
    const hands = [];
    for (let i = 1; i < words.length; ++i) {
        const word = words[i];
        if (['--in-bb', '--chip-ev', '--deal-bounties', '--separators', '--exact'].includes(word)) {
            options[word] = true;
            if (word === '--separators' || word === '--exact')
                more.push(word);
        } else if (word.startsWith('--') && i + 1 < words.length) {
            const text = words[++i];
            if (word === '--range' || word === '--overcall')
                ranges.push((word === '--overcall' ? 'overcall ' : '') + text);
            else if (options[word] === undefined && word in FIELD_OF)
                options[word] = text;
            else
                more.push(word, text);
        } else if (word.startsWith('-')) {
            more.push(word);
        } else {
            hands.push(word);
        }
    }
    let list = (options['--stacks'] || '').split(',').map((stack) => ({ name: '', stack }));
    // Names into the seats' fields when there is one for each stack; else
    // the line keeps them for the command to judge.
    const names = options['--names'] !== undefined ? options['--names'].split(',') : [];
    if (options['--stacks'] !== undefined && names.length === list.length)
        names.forEach((name, i) => (list[i].name = name.trim()));
    else if (options['--names'] !== undefined)
        more.push('--names', options['--names']);
    picked.stacks = null;
    picked.pos = null;
    if (options['--pos'] && files[options['--pos']] !== undefined)
        picked.pos = { name: options['--pos'], text: files[options['--pos']] };
    else if (options['--pos'])
        more.push('--pos', options['--pos']);
    if (options['--stacks-file'] && options['--stacks-file'] !== SEAT_NAMES_FILE && files[options['--stacks-file']] !== undefined) {
        picked.stacks = { name: options['--stacks-file'], text: files[options['--stacks-file']] };
    } else if (options['--stacks-file'] && files[options['--stacks-file']]) {
        list = files[options['--stacks-file']].split('\n').filter(Boolean).map((line) => {
            const comma = line.lastIndexOf(',');
            return { name: line.slice(0, comma), stack: line.slice(comma + 1) };
        });
    } else if (options['--stacks-file']) {
        more.push('--stacks-file', options['--stacks-file']);
    }
    // Bounties into the seats' fields when there is one for each seat, as
    // the names; else the line keeps them.
    const bounties = options['--bounties'] !== undefined ? options['--bounties'].split(',') : [];
    if (bounties.length && !picked.stacks && bounties.length === list.length)
        bounties.forEach((bounty, i) => (list[i].bounty = bounty.trim()));
    else if (bounties.length)
        more.push('--bounties', options['--bounties']);
    const [kind, share] = bountyKind(options);
    $('bounty-kind').value = kind;
    $('bounty-share').value = share;
    $('deal-bounties').checked = !!options['--deal-bounties'];
    if (view !== 'allin')
        setSeats(list.length ? list : [{ stack: '' }, { stack: '' }]);
    $('in-bb').checked = !!options['--in-bb'];
    $('chip-ev').checked = !!options['--chip-ev'];
    const blinds = (options['--blinds'] || '').split(',');
    $('small-blind').value = blinds[0] || '';
    $('big-blind').value = blinds[1] || '';
    $('bb-ante').checked = options['--bb-ante'] !== undefined;
    $('ante').value = options['--bb-ante'] || options['--ante'] || '';
    const prizes = options['--prizes'] || '';
    $('prize-kind').value = prizes.includes('%') ? 'percent' : $('prize-kind').value === 'percent' ? 'ladder' : $('prize-kind').value;
    $('prizes').value = prizes;
    for (const [option, id] of Object.entries(FIELD_OF))
        if (id && !['stacks', 'blinds', 'ante', 'bb-ante', 'prizes', 'bounties', 'bounty-share'].includes(id) &&
            !setField($(id), options[option] || ''))
            more.push(option, options[option]);
    if (options['--button'])
        $('button').value = options['--button'];
    if (view === 'spot')
        $('ranges').value = ranges.join('\n');
    if (view === 'allin')
        setHands(hands);
    $('more').value = joinWords(more);
    markCards();
    if (view === 'allin')
        textToGrid();
    showView();
}

// A field set to a line's text. A select takes the option of that value or
// else of that name (`--split icm` is the first option, the default); where
// it has neither, it stays at its default and the word goes to More options.
function setField(field, text) {
    field.value = text;
    if (field.tagName !== 'SELECT' || field.selectedIndex >= 0)
        return true;
    const named = [...field.options].find((option) => option.textContent === text);
    field.value = named ? named.value : '';
    return !!named;
}

const FIELD_OF = {
    '--stacks': 'stacks', '--stacks-file': 'stacks', '--names': 'stacks', '--pos': 'prizes', '--blinds': 'blinds', '--ante': 'ante', '--bb-ante': 'bb-ante',
    '--prizes': 'prizes', '--pool': 'pool', '--others': 'others', '--split': 'split',
    '--keep': 'keep', '--round': 'round', '--hero': 'hero', '--action': 'action', '--shover': 'shover',
    '--caller': 'caller', '--hand': 'hand', '--tolerance': 'tolerance', '--draws': 'draws', '--board': 'board',
    '--dead': 'dead', '--samples': 'samples', '--seed': 'seed', '--format': 'format',
    '--bounties': 'bounties', '--bounty-share': 'bounty-share', '--bounty-pool': 'bounty-pool',
    '--others-bounties': 'others-bounties', '--chips-per-unit': 'chips-per-unit',
};
FIELD_OF['--button'] = null; // the select, set once the seats are

function showView() {
    for (const button of $('views').querySelectorAll('button'))
        button.setAttribute('aria-pressed', String(button.dataset.view === view));
    for (const element of document.querySelectorAll('[data-views]'))
        element.hidden = !element.dataset.views.split(' ').includes(view);
    $('pool-label').hidden = $('prize-kind').value !== 'percent' && !picked.pos;
    // Stacks in big blinds need the blinds in every view.
    if ($('in-bb').checked && view !== 'allin')
        $('blinds-row').hidden = false;
    $('forget-files').hidden = !picked.stacks && !picked.pos;
    $('seats').hidden = !!picked.stacks;
    $('add-seat').hidden = !!picked.stacks;
    // The bounty fields only with bounties on, each where its command takes it.
    const bounties = bountiesOn();
    $('bounty-row').hidden ||= !BOUNTY_COMMANDS.includes(command);
    $('seats').classList.toggle('with-bounties', bounties);
    $('bounty-pool-label').hidden = !bounties;
    $('deal-bounties-label').hidden = !bounties;
    $('others-bounties-label').hidden ||= !bounties;
    $('bounty-share-label').hidden ||= !bounties || $('bounty-kind').value !== 'share';
    $('chips-per-unit-label').hidden ||= !bounties || !$('chip-ev').checked;
}

// ---- computing ----

let lastShown = null; // the line whose answer is on the page

function clearErrors() {
    for (const element of document.querySelectorAll('.error'))
        element.textContent = '';
}

// The command's message beside the field of the first option it names.
function showError(text) {
    const message = text.trim();
    const named = message.match(/--[a-z-]+/g) || [];
    const places = [...document.querySelectorAll('.error')].filter((element) => !element.closest('[hidden]'));
    let place = null;
    for (const option of named) {
        place = places.find((element) => element.dataset.for.split(' ').includes(option));
        if (place)
            break;
    }
    if (!place && view === 'allin')
        place = places.find((element) => element.dataset.for.split(' ').includes('ranges'));
    (place || document.querySelector('.error[data-for="*"]')).textContent = message;
}

async function compute(options) {
    const files = {};
    const shown = formWords(files);
    const line = joinWords(shown);
    $('command-line').textContent = line;
    if (!(options && options.fromAddress))
        history.replaceState(null, '', '#' + encodeURIComponent(line));
    saveTable(line, files);
    clearErrors();
    // --names separates the names by commas, so a name cannot hold one (nor
    // can a stacks file's, whose lines are name,stack): said here, beside
    // the seats, before the command would miscount them.
    const comma = view === 'allin' ? undefined : seats().find((seat) => seat.name.includes(','));
    if (comma) {
        showError('--names: the name "' + comma.name + '" holds a comma; a name cannot, as the names are one list separated by commas');
        $('result').classList.toggle('stale', lastShown !== null);
        return;
    }
    const format = shown.includes('--format') ? shown[shown.indexOf('--format') + 1] : '';
    const args = format ? shown : [...shown, '--format', 'json'];
    const result = $('result');
    if (running)
        cancel();
    $('cancel').hidden = false;
    $('status').textContent = 'Computing…';
    const started = performance.now();
    try {
        const answer = await runCommand(args, encodeFiles(files));
        if (answer.status !== 0) {
            showError(answer.stderr || 'ostrel-icm: exit status ' + answer.status);
            result.classList.toggle('stale', lastShown !== null);
            $('status').textContent = '';
            return;
        }
        result.classList.remove('stale');
        result.innerHTML = '';
        if (format === 'svg')
            result.innerHTML = '<div class="picture">' + answer.stdout + '</div>';
        else if (format) {
            const pre = document.createElement('pre');
            pre.id = 'answer';
            pre.textContent = answer.stdout;
            result.appendChild(pre);
        } else {
            drawAnswer(result, view, JSON.parse(answer.stdout), { openSpot, handOutcomes, words: shown });
        }
        if (answer.stderr)
            showError(answer.stderr);
        lastShown = line;
        result.dataset.answeredAt = String(performance.now());
        result.dataset.milliseconds = String(Math.round(performance.now() - started));
        // The $EV first; the finish chances of the same field follow.
        if (!format && command === 'equity') {
            const finish = await runCommand(['finish', ...withoutBounties(args.slice(1))], encodeFiles(files));
            if (finish.status === 0)
                drawFinish(result, JSON.parse(finish.stdout));
        }
        $('status').textContent = 'Done in ' + result.dataset.milliseconds + ' ms';
    } catch (error) {
        $('status').textContent = error.message === 'cancelled' ? 'Cancelled' : 'Failed: ' + error.message;
        if (lastShown !== null)
            result.classList.add('stale');
    } finally {
        if (!running) {
            $('cancel').hidden = true;
            $('progress').hidden = true;
        }
    }
}

// The finish chances are the prizes' alone: the words without the bounty
// options, which finish does not take.
function withoutBounties(words) {
    const left = [];
    for (let i = 0; i < words.length; ++i) {
        if (words[i] === '--deal-bounties')
            continue;
        if (BOUNTY_OPTIONS.includes(words[i]))
            ++i;
        else
            left.push(words[i]);
    }
    return left;
}

function encodeFiles(files) {
    const encoder = new TextEncoder();
    return Object.fromEntries(Object.entries(files).map(([name, text]) => [name, encoder.encode(text)]));
}

// One hand of the spot shown: the same line with --hand and its outcomes.
async function handOutcomes(hand) {
    $('hand').value = hand;
    await compute();
}

// A decision of the equilibrium as a spot: the hero, his action and the
// ranges of the others at that decision, taken from the equilibrium.
function openSpot(decision, decisions) {
    view = 'spot';
    command = 'spot';
    $('hero').value = String(decision.seat);
    $('action').value = decision.action === 'shove' ? '' : decision.action;
    const versus = decision.versus || [];
    $('shover').value = versus[0] ? String(versus[0]) : '';
    $('caller').value = versus[1] ? String(versus[1]) : '';
    const lines = [];
    for (const other of decisions) {
        if (other.seat === decision.seat || !other.range)
            continue;
        const against = other.versus || [];
        if (decision.action === 'shove' && other.action === 'call' && against[0] === decision.seat)
            lines.push(other.seat + '=' + other.range);
        else if (decision.action === 'shove' && other.action === 'overcall' && against[0] === decision.seat)
            lines.push('overcall ' + other.seat + '=' + other.range);
        else if (decision.action !== 'shove' && other.action === 'shove' && other.seat === versus[0])
            lines.push(other.seat + '=' + other.range);
    }
    $('ranges').value = lines.join('\n');
    $('hand').value = '';
    $('format').value = '';
    showView();
    compute();
}

// ---- the address and the browser's storage ----

function saveTable(line, files) {
    try {
        localStorage.setItem('ostrel-line', line);
        localStorage.setItem('ostrel-files', JSON.stringify(files));
    } catch (error) {
        // storage refused (private windows): the page works without it
    }
}

function storedFiles() {
    try {
        return JSON.parse(localStorage.getItem('ostrel-files') || '{}');
    } catch (error) {
        return {};
    }
}

function openLine(line) {
    let words;
    try {
        words = splitWords(line);
    } catch (error) {
        document.querySelector('.error[data-for="*"]').textContent = 'The address: ' + error.message;
        return false;
    }
    if (!words.length)
        return false;
    fillForm(words, storedFiles());
    return true;
}

function fromAddress() {
    const line = decodeURIComponent(location.hash.slice(1));
    if (line && openLine(line))
        compute({ fromAddress: true });
}

// The line shown and the address follow the form as it is typed.
function changed() {
    try {
        const line = joinWords(formWords({}));
        $('command-line').textContent = line;
        history.replaceState(null, '', '#' + encodeURIComponent(line));
    } catch (error) {
        // an unclosed quote in More options: the line waits for the rest
    }
}

// ---- start ----

function start() {
    startWorker();
    ({ textToGrid, markCards } = setupPickers(handInputs, () => (view === 'spot' ? $('spot-range') : handInputs()[0]), changed));
    setSeats([{ stack: '5000' }, { stack: '3000' }, { stack: '2000' }]);
    setHands(['AdAc', 'KhKs']);
    $('form').addEventListener('submit', (event) => {
        event.preventDefault();
        compute();
    });
    $('form').addEventListener('input', (event) => {
        if (event.target.closest('#hands') || event.target.id === 'spot-range')
            textToGrid();
        if (event.target.id === 'board' || event.target.id === 'dead')
            markCards();
        if (['prize-kind', 'in-bb', 'bounty-kind', 'chip-ev'].includes(event.target.id))
            showView();
        if (event.target.id !== 'top')
            changed();
    });
    $('form').addEventListener('change', changed);
    $('add-seat').addEventListener('click', () => {
        seatRow('', '');
        renumber();
        changed();
    });
    $('seats').addEventListener('click', (event) => {
        if (!event.target.classList.contains('remove'))
            return;
        event.target.closest('tr').remove();
        renumber();
        changed();
    });
    $('add-hand').addEventListener('click', () => {
        if (handInputs().length < 6)
            addHand('').focus();
    });
    $('cancel').addEventListener('click', cancel);
    // A picked range into the spot's ranges: the seat's line replaced or added.
    $('put-range').addEventListener('click', () => {
        const seat = value('spot-range-seat');
        const lines = value('ranges').split('\n').map((l) => l.trim()).filter((l) => l && !l.startsWith(seat + '='));
        $('ranges').value = [...lines, seat + '=' + value('spot-range')].join('\n');
        changed();
    });
    $('copy-line').addEventListener('click', async () => {
        const line = 'ostrel-icm ' + $('command-line').textContent;
        try {
            await navigator.clipboard.writeText(line);
            $('status').textContent = 'Command line copied';
        } catch (error) {
            // no clipboard (an address other than localhost without https): select it instead
            getSelection().selectAllChildren($('command-line'));
        }
    });
    for (const [id, kind] of [['stacks-file', 'stacks'], ['pos-file', 'pos']]) {
        $(id).addEventListener('change', async () => {
            const file = $(id).files[0];
            if (!file)
                return;
            // A name the command line can hold without quotes.
            picked[kind] = { name: file.name.replace(/[^A-Za-z0-9_.-]/g, '_'), text: await file.text() };
            $(id).value = '';
            showView();
            changed();
        });
    }
    $('forget-files').addEventListener('click', () => {
        picked.stacks = null;
        picked.pos = null;
        showView();
        changed();
    });
    $('views').addEventListener('click', (event) => {
        const button = event.target.closest('button');
        if (!button)
            return;
        view = button.dataset.view;
        command = COMMAND_OF_VIEW[view];
        showView();
        changed();
    });
    window.addEventListener('hashchange', () => {
        const line = decodeURIComponent(location.hash.slice(1));
        if (line !== $('command-line').textContent)
            fromAddress();
    });
    if (location.hash.length > 1) {
        fromAddress();
    } else {
        const saved = localStorage.getItem('ostrel-line');
        if (saved)
            openLine(saved);
        showView();
        changed();
    }
    ready.then(() => {
        document.body.dataset.readyMs = String(performance.now());
        document.body.setAttribute('data-ready', 'true');
    },
               (error) => ($('status').textContent = 'The module did not load: ' + error.message));
}

start();
