/*
 * The page's module against the native command: every command line of
 * tests/web/command_lines.txt and every `$ ostrel-icm` example of the README
 * runs through both, and standard output, standard error and the exit status
 * must be the same bytes. Files named on a line are given to the module at
 * the same path. Usage (from the top of the sources):
 *   node tests/web/same_bytes.cjs NATIVE-OSTREL-ICM MODULE-FOLDER
 */
'use strict';
const fs = require('fs');
const path = require('path');
const { spawnSync } = require('child_process');
const { splitWords } = require('../../web/src/command-line.js');
const { runCommand } = require('../../web/src/command-run.js');

const [native, moduleFolder] = process.argv.slice(2);
if (!native || !moduleFolder || !fs.existsSync(native)) {
    console.error('usage: same_bytes.cjs NATIVE-OSTREL-ICM MODULE-FOLDER (native: ' + native + ')');
    process.exit(2);
}

// The README's examples: `$ ostrel-icm` lines, with their `\` continuations.
function readmeLines(text) {
    const lines = text.split('\n');
    const found = [];
    for (let i = 0; i < lines.length; ++i) {
        const start = lines[i].match(/^ {4}\$ ostrel-icm (.*)$/);
        if (!start)
            continue;
        let line = start[1];
        while (line.endsWith('\\') && i + 1 < lines.length)
            line = line.slice(0, -1) + lines[++i].trim();
        found.push(line.trim());
    }
    return found;
}

function tableLines(text) {
    return text.split('\n').map((line) => line.trim()).filter((line) => line && !line.startsWith('#'));
}

const same = (a, b) => a.length === b.length && a.every((byte, i) => byte === b[i]);

function firstDifference(a, b) {
    const at = a.findIndex((byte, i) => byte !== b[i]);
    const where = at < 0 ? Math.min(a.length, b.length) : at;
    const show = (bytes) => JSON.stringify(Buffer.from(bytes.slice(Math.max(0, where - 40), where + 40)).toString());
    return 'at byte ' + where + ':\n      native ' + show(b) + '\n      module ' + show(a);
}

(async () => {
    const createOstrel = require(path.resolve(moduleFolder, 'ostrel-icm.js'));
    const compiled = await WebAssembly.compile(fs.readFileSync(path.join(moduleFolder, 'ostrel-icm.wasm')));
    const readme = readmeLines(fs.readFileSync('README.md', 'utf8'));
    const table = tableLines(fs.readFileSync(path.join(__dirname, 'command_lines.txt'), 'utf8'));
    if (readme.length < 15)
        throw new Error('found only ' + readme.length + ' README examples');
    let failed = 0;
    const lines = [...readme, ...table];
    for (const line of lines) {
        const args = splitWords(line);
        const files = {};
        for (const word of args)
            if (!word.startsWith('-') && word.includes('/') && fs.existsSync(word))
                files[word] = fs.readFileSync(word);
        const started = Date.now();
        const theirs = spawnSync(native, args, { maxBuffer: 1 << 28 });
        // Emscripten's glue listens on the process for every instance under
        // node; those of a finished run are let go.
        const listening = ['uncaughtException', 'unhandledRejection'].map((name) => [name, process.listeners(name)]);
        const ours = await runCommand(createOstrel, compiled, args, { files });
        for (const [name, before] of listening)
            for (const listener of process.listeners(name))
                if (!before.includes(listener))
                    process.removeListener(name, listener);
        const seconds = ((Date.now() - started) / 1000).toFixed(1);
        const problems = [];
        if (ours.status !== theirs.status)
            problems.push('status ' + ours.status + ', native ' + theirs.status);
        if (!same(ours.stdout, theirs.stdout))
            problems.push('standard output differs ' + firstDifference(ours.stdout, [...theirs.stdout]));
        if (!same(ours.stderr, theirs.stderr))
            problems.push('standard error differs ' + firstDifference(ours.stderr, [...theirs.stderr]));
        if (theirs.stdout.length === 0 && theirs.stderr.length === 0)
            problems.push('the native command wrote nothing');
        if (problems.length) {
            ++failed;
            console.log('DIFFERENT (' + seconds + ' s): ' + line + '\n  ' + problems.join('\n  '));
        } else {
            console.log('same (' + seconds + ' s, status ' + theirs.status + ', ' + theirs.stdout.length + ' bytes): ' +
                        line.slice(0, 100));
        }
    }
    process.exitCode = 0;
    console.log(lines.length - failed + ' of ' + lines.length + ' command lines give the same bytes');
    process.exit(failed ? 1 : 0);
})().catch((error) => {
    console.error(error);
    process.exit(1);
});
