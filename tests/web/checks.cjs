/*
 * What the page's tests share: checks that print ok or FAIL and are counted,
 * the end that reports them in the exit status, and the native command run
 * on a list of words.
 */
'use strict';
const { spawnSync } = require('child_process');

const failures = [];

// quiet: print failures only (tests with thousands of checks).
function check(condition, what, quiet) {
    if (!quiet || !condition)
        console.log((condition ? 'ok   ' : 'FAIL ') + what);
    if (!condition)
        failures.push(what);
}

function finish() {
    console.log(failures.length ? failures.length + ' FAILED' : 'all passed');
    process.exit(failures.length ? 1 : 0);
}

function nativeRunner(native) {
    return (args) => {
        const run = spawnSync(native, args, { encoding: 'utf8' });
        return { stdout: run.stdout, stderr: run.stderr, status: run.status };
    };
}

module.exports = { failures, check, finish, nativeRunner };
