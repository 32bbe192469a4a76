/*
 * The page's pieces that need no browser, under node: command lines split
 * and quoted as the system's shell splits them (the shell is the oracle),
 * and the range picker's class lists (closed counts and round trips).
 * Usage: node tests/web/page_parts_test.cjs
 */
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');
const { splitWords, joinWords, quoteWord } = require('../../web/src/command-line.js');

const { failures, check: checkAll, finish } = require('./checks.cjs');
const check = (condition, what) => checkAll(condition, what, true);

// The words /bin/sh makes of a line, NUL-separated by printf.
function shellWords(line) {
    const run = spawnSync('/bin/sh', ['-c', 'printf "%s\\0" ' + line], { encoding: 'utf8' });
    return run.stdout.split('\0').slice(0, -1);
}

const lines = [
    'equity --stacks 5000,3000,2000 --prizes 50,30,20',
    'allin AhKh "QQ+, AKs" JTs --board Qs9h2c',
    "spot --range '3=22+, A2s+' --hero 2",
    'a\\ b "c\\"d" \'e"f\' "g\\\\h" "$" "\\$x"',
    '  spaced\t\twords  ',
    "it's\\' \"x'y\"",
];
for (const line of lines) {
    const ours = splitWords(line);
    check(JSON.stringify(ours) === JSON.stringify(shellWords(line)), 'split as the shell: ' + line + ' -> ' + JSON.stringify(ours));
}

const words = ['plain', 'with space', "it's", 'a"b', '$HOME', '`x`', '', 'back\\slash', '3=QQ+,AK', 'tab\there', '%41', 'ünï'];
for (const word of words) {
    check(JSON.stringify(shellWords(quoteWord(word))) === JSON.stringify([word]), 'quoted for the shell: ' + JSON.stringify(word));
    check(JSON.stringify(splitWords(quoteWord(word))) === JSON.stringify([word]), 'quoted and split back: ' + JSON.stringify(word));
}
check(JSON.stringify(splitWords(joinWords(words))) === JSON.stringify(words), 'a joined line splits to its words');
let threw = false;
try {
    splitWords("an 'unclosed quote");
} catch (error) {
    threw = true;
}
check(threw, 'an unclosed quote is refused');

(async () => {
    const source = fs.readFileSync(path.join(__dirname, '../../web/src/hands.js'), 'utf8');
    const hands = await import('data:text/javascript,' + encodeURIComponent(source));
    const { CLASSES, combos, classesOf, textOf, topClasses, BY_STRENGTH, handsOf } = hands;
    check(new Set(CLASSES).size === 169, '169 distinct classes');
    check(CLASSES.reduce((sum, name) => sum + combos(name), 0) === 1326, 'the classes hold 1,326 combos');
    check(new Set(BY_STRENGTH).size === 169 && BY_STRENGTH[0] === 'AA', 'the slider orders all 169, aces first');
    check(topClasses(0).length === 0 && topClasses(100).length === 169, 'the slider from none to all');
    for (const share of [1, 5, 15, 33.3, 50, 80]) {
        const count = topClasses(share).reduce((sum, name) => sum + combos(name), 0);
        check(count >= (1326 * share) / 100 && count - 12 < (1326 * share) / 100, share + '% is ' + count + ' combos');
    }
    const counted = [
        ['QQ+', 3], ['22+', 13], ['A2s+', 12], ['K9+', 8], ['AK', 2], ['AKo', 1], ['T9s', 1],
        ['22-55', 4], ['A5s-A2s', 4], ['QQ+,AK:0.5', 5], ['kk', 1], ['AhKh', null], ['15%', null], ['AKs+', 1],
    ];
    for (const [text, count] of counted) {
        const weights = classesOf(text);
        check(count === null ? weights === null : weights && weights.size === count,
              text + ' names ' + (weights ? weights.size : 'no') + ' classes');
    }
    check(classesOf('QQ+,AK:0.5').get('AKo') === 0.5, 'a weight is kept');
    for (const text of ['AA,AKs,KK', 'AA,AKs:0.25,QJo']) {
        check(textOf(classesOf(text)) === text, 'text round trip: ' + text);
    }
    for (const share of [3, 12, 40]) {
        const chosen = new Map(topClasses(share).map((name) => [name, 1]));
        const back = classesOf(textOf(chosen));
        check(back.size === chosen.size && [...chosen.keys()].every((name) => back.has(name)), 'grid round trip at ' + share + '%');
    }
    // The hands of each class by their cards: the class's combos, of its
    // ranks and suitedness, and together every one of the C(52, 2) hands once.
    const everyHand = new Set();
    for (const name of CLASSES) {
        const list = handsOf(name);
        const fits = list.every((hand) => hand[0] === name[0] && hand[2] === name[1] && hand[1] + hand[0] !== hand[3] + hand[2] &&
            (name.length === 2 || (hand[1] === hand[3]) === (name[2] === 's')));
        check(list.length === combos(name) && fits, name + ' is ' + list.join(' '));
        for (const hand of list)
            everyHand.add([hand.slice(0, 2), hand.slice(2)].sort().join(''));
    }
    check(everyHand.size === (52 * 51) / 2, 'the classes\' hands are the ' + everyHand.size + ' hands of 52 cards');
    finish();
})();
