/*
 * Command lines as words, both ways: a line split as a POSIX shell splits it
 * (single and double quotes, backslashes), and words quoted back into a line
 * that such a shell reads to the same words. A classic script, shared by the
 * page (window.OstrelLine) and by the tests under node (require).
 */
(function (root) {
    'use strict';

    // The words of `line`; throws on an unclosed quote.
    function splitWords(line) {
        const words = [];
        let word = null;
        let quote = null;
        for (let i = 0; i < line.length; ++i) {
            const c = line[i];
            if (quote === "'") {
                if (c === "'")
                    quote = null;
                else
                    word += c;
            } else if (quote === '"') {
                if (c === '"')
                    quote = null;
                else if (c === '\\' && i + 1 < line.length && '"\\$`'.includes(line[i + 1]))
                    word += line[++i];
                else
                    word += c;
            } else if (c === ' ' || c === '\t' || c === '\n') {
                if (word !== null)
                    words.push(word);
                word = null;
            } else {
                if (word === null)
                    word = '';
                if (c === "'" || c === '"')
                    quote = c;
                else if (c === '\\' && i + 1 < line.length)
                    word += line[++i];
                else
                    word += c;
            }
        }
        if (quote !== null)
            throw new Error('unclosed ' + quote);
        if (word !== null)
            words.push(word);
        return words;
    }

    // A word as a shell reads it back: bare when it is plain, else quoted.
    function quoteWord(word) {
        if (word !== '' && /^[A-Za-z0-9_+\-=.,:%\/@]+$/.test(word))
            return word;
        return "'" + word.replace(/'/g, "'\\''") + "'";
    }

    function joinWords(words) {
        return words.map(quoteWord).join(' ');
    }

    const api = { splitWords, quoteWord, joinWords };
    if (typeof module === 'object' && module.exports)
        module.exports = api;
    else
        root.OstrelLine = api;
})(typeof self !== 'undefined' ? self : this);
