/*
 * The page's worker: compiles the module once, then runs one command line a
 * message ({id, args, files}) and answers {id, stdout, stderr, status}, with
 * {id, progress} messages meanwhile. The page cancels a run by ending this
 * worker and starting another.
 */
/* global importScripts, OstrelCommand, createOstrel */
importScripts('command-run.js', 'ostrel-icm.js');

const compiled = (typeof WebAssembly.compileStreaming === 'function'
                      ? WebAssembly.compileStreaming(fetch('ostrel-icm.wasm'))
                      : fetch('ostrel-icm.wasm').then((response) => response.arrayBuffer()).then(WebAssembly.compile));
compiled.then(() => postMessage({ ready: true }), (error) => postMessage({ failure: String(error) }));

const decoder = new TextDecoder();

self.onmessage = async (event) => {
    const { id, args, files } = event.data;
    let last = 0;
    const onProgress = (done, iterations, exploitability) => {
        const now = performance.now();
        if (now - last < 100)
            return;
        last = now;
        postMessage({ id, progress: { done, iterations, exploitability } });
    };
    try {
        const started = performance.now();
        const result = await OstrelCommand.runCommand(createOstrel, await compiled, args, { files, onProgress });
        postMessage({
            id,
            stdout: decoder.decode(result.stdout),
            stderr: decoder.decode(result.stderr),
            status: result.status,
            milliseconds: performance.now() - started,
        });
    } catch (error) {
        postMessage({ id, failure: String(error && error.stack ? error.stack : error) });
    }
};
