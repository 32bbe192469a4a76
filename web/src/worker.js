/*
 * The page's worker: compiles the module once, then runs one command line a
 * message ({id, args, files}) and answers {id, stdout, stderr, status}, with
 * {id, progress} messages meanwhile. The page cancels a run by ending this
 * worker and starting another.
 */
/* global importScripts, OstrelCommand, createOstrel */
importScripts('command-run.js', 'ostrel-icm.js');

// The module travels gzip-compressed (a third of its size: its tables
// compress well) and is unpacked here, so that any static file server will
// do; a server that unpacked it on the way already is taken as it is.
async function compileModule() {
    const response = await fetch('ostrel-icm.wasm.gz');
    if (!response.ok)
        throw new Error('ostrel-icm.wasm.gz: ' + response.status);
    try {
        const unpacked = response.body.pipeThrough(new DecompressionStream('gzip'));
        return await WebAssembly.compile(await new Response(unpacked).arrayBuffer());
    } catch (error) {
        const again = await fetch('ostrel-icm.wasm.gz');
        return WebAssembly.compile(await again.arrayBuffer());
    }
}
const compiled = compileModule();
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
