/*
 * The range picker (13 x 13 classes: click or drag to choose, arrows and
 * Space from the keyboard, a top-% slider, a weight) kept in step both ways
 * with the hand field it serves, and the card picker for the board and the
 * dead cards. The text fields stay what the command reads.
 */
import { RANKS, classAt, classesOf, textOf, topClasses } from './hands.js';

const $ = (id) => document.getElementById(id);
const value = (id) => $(id).value.trim();

// Builds both pickers; `handInputs()` lists the hand fields, `target()` is
// the field the range picker serves unless another was focused last,
// `changed()` is told of every edit. Returns what the page calls when it
// fills fields.
export function setupPickers(handInputs, target, changed) {
    let pickerTarget = null;

    function buildRangeGrid() {
        const grid = $('range-grid');
        let painting = null;
        for (let r = 0; r < 13; ++r) {
            for (let c = 0; c < 13; ++c) {
                const cell = document.createElement('div');
                cell.textContent = classAt(r, c);
                cell.dataset.hand = classAt(r, c);
                cell.tabIndex = 0;
                cell.setAttribute('role', 'gridcell');
                cell.setAttribute('aria-selected', 'false');
                grid.appendChild(cell);
            }
        }
        const paint = (cell) => {
            cell.classList.toggle('on', painting);
            cell.setAttribute('aria-selected', String(painting));
            gridToText();
        };
        grid.addEventListener('pointerdown', (event) => {
            const cell = event.target.closest('[data-hand]');
            if (!cell)
                return;
            painting = !cell.classList.contains('on');
            paint(cell);
            grid.setPointerCapture && grid.releasePointerCapture && grid.releasePointerCapture(event.pointerId);
        });
        grid.addEventListener('pointerover', (event) => {
            const cell = event.target.closest('[data-hand]');
            if (painting !== null && cell && event.buttons)
                paint(cell);
        });
        window.addEventListener('pointerup', () => (painting = null));
        grid.addEventListener('keydown', (event) => {
            const cell = event.target.closest('[data-hand]');
            if (!cell)
                return;
            const at = [...grid.children].indexOf(cell);
            const move = { ArrowLeft: -1, ArrowRight: 1, ArrowUp: -13, ArrowDown: 13 }[event.key];
            if (move !== undefined && grid.children[at + move]) {
                grid.children[at + move].focus();
                event.preventDefault();
            } else if (event.key === ' ' || event.key === 'Enter') {
                painting = !cell.classList.contains('on');
                paint(cell);
                painting = null;
                event.preventDefault();
            }
        });
    }

    function gridToText() {
        const input = pickerTarget && !pickerTarget.closest('[hidden]') ? pickerTarget : target();
        const weight = Number(value('weight')) || 1;
        const chosen = new Map();
        for (const cell of $('range-grid').children)
            if (cell.classList.contains('on'))
                chosen.set(cell.dataset.hand, weight);
        input.value = textOf(chosen);
        changed();
    }

    function textToGrid() {
        const input = pickerTarget && !pickerTarget.closest('[hidden]') ? pickerTarget : target();
        const weights = classesOf(input.value) || new Map();
        for (const cell of $('range-grid').children) {
            const on = weights.has(cell.dataset.hand) && weights.get(cell.dataset.hand) > 0;
            cell.classList.toggle('on', on);
            cell.setAttribute('aria-selected', String(on));
        }
        const hand = handInputs().indexOf(input);
        $('picker-for').textContent = hand >= 0 ? 'Range picker for hand ' + (hand + 1) : 'Range picker for the range above';
    }

    function buildCardPicker() {
        const box = $('cards');
        for (const suit of 'shdc') {
            for (const rank of RANKS) {
                const button = document.createElement('button');
                button.type = 'button';
                button.textContent = rank + suit;
                button.setAttribute('aria-label', rank + suit);
                box.appendChild(button);
            }
        }
        box.addEventListener('click', (event) => {
            const button = event.target.closest('button');
            if (!button)
                return;
            const target = $(document.querySelector('input[name="card-to"]:checked').value);
            const card = button.textContent;
            const cards = target.value.match(/../g) || [];
            target.value = (cards.includes(card) ? cards.filter((c) => c !== card) : [...cards, card]).join('');
            markCards();
            changed();
        });
    }

    function markCards() {
        const used = (value('board') + value('dead')).match(/../g) || [];
        for (const button of $('cards').children)
            button.classList.toggle('used', used.includes(button.textContent));
    }

    buildRangeGrid();
    buildCardPicker();
    for (const box of [$('hands'), $('spot-range')]) {
        box.addEventListener('focusin', (event) => {
            pickerTarget = event.target;
            textToGrid();
        });
    }
    $('top').addEventListener('input', () => {
        $('top-out').textContent = $('top').value + '%';
        const chosen = new Set(topClasses(Number($('top').value)));
        for (const cell of $('range-grid').children)
            cell.classList.toggle('on', chosen.has(cell.dataset.hand));
        gridToText();
    });
    return { textToGrid, markCards };
}
