/*
 * One run of ostrel-icm in the WebAssembly module: a fresh instance of the
 * compiled module for every run (as a process would be), the arguments given
 * to the command's main, its standard output and error as bytes, its exit
 * status. A classic script, shared by the page's worker (importScripts) and
 * by the tests under node (require).
 */
(function (root) {
    'use strict';

    function Collector() {
        let chunk = new Uint8Array(4096);
        let length = 0;
        const parts = [];
        return {
            put(byte) {
                if (length === chunk.length) {
                    parts.push(chunk);
                    chunk = new Uint8Array(chunk.length * 2);
                    length = 0;
                }
                chunk[length++] = byte < 0 ? byte + 256 : byte;
            },
            bytes() {
                const total = parts.reduce((sum, part) => sum + part.length, 0) + length;
                const all = new Uint8Array(total);
                let at = 0;
                for (const part of parts) {
                    all.set(part, at);
                    at += part.length;
                }
                all.set(chunk.subarray(0, length), at);
                return all;
            },
        };
    }

    // Runs `args` (the words after ostrel-icm). `files` maps paths to bytes,
    // written into the module's file system before the run (relative paths
    // from its working folder); `onProgress(done, detail)` receives the
    // command's progress reports. Resolves to {stdout, stderr, status}.
    async function runCommand(createOstrel, compiled, args, options) {
        const files = (options && options.files) || {};
        const stdout = Collector();
        const stderr = Collector();
        const module = await createOstrel({
            noInitialRun: true,
            instantiateWasm(imports, receive) {
                WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled));
                return {};
            },
            stdin: () => null,
            stdout: (byte) => byte !== null && stdout.put(byte),
            stderr: (byte) => byte !== null && stderr.put(byte),
            // A run's end is no process's end: an exit becomes its status.
            quit: (status, toThrow) => {
                throw toThrow;
            },
            ostrelProgress: (options && options.onProgress) || null,
        });
        for (const [path, bytes] of Object.entries(files)) {
            const slash = path.lastIndexOf('/');
            if (slash > 0)
                module.FS.mkdirTree(path.slice(0, slash));
            module.FS.writeFile(path, bytes);
        }
        const status = module.callMain(args);
        module._fflush(0);
        return { stdout: stdout.bytes(), stderr: stderr.bytes(), status };
    }

    const api = { runCommand };
    if (typeof module === 'object' && module.exports)
        module.exports = api;
    else
        root.OstrelCommand = api;
})(typeof self !== 'undefined' ? self : this);
