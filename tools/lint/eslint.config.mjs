// eslint.config.mjs: ESLint over the project's JavaScript, run by scripts/lint
// from the top of the tree: the page and its service worker's loader in the
// browser, the web tests, the benchmark and the server on Node.js. All of it
// is ES modules. ESLint's recommended rules find real faults (an undefined
// name, an unused variable, a duplicate key, a lost await); layout is left to
// each file's own, consistent hand.
import js from '@eslint/js';
import globals from 'globals';

export default [
    js.configs.recommended,
    {
        languageOptions: {ecmaVersion: 2022, sourceType: 'module'},
        linterOptions: {reportUnusedDisableDirectives: 'error'},
        rules: {
            // An unused argument is often the position a callback is handed;
            // an unused name of our own is a leftover.
            'no-unused-vars': ['error', {args: 'none', caughtErrors: 'none'}],
            eqeqeq: 'error',
            'no-var': 'error',
            'prefer-const': ['error', {ignoreReadBeforeAssign: true}],
        },
    },
    {
        files: ['app/web/**/*.js', 'bench/web/bare/**/*.js'],
        languageOptions: {globals: globals.browser},
    },
    {
        // The tests and the benchmark drive the browser from Node.js, and
        // what they hand to page.evaluate() runs in the page.
        files: ['tests/web/**/*.mjs', 'bench/web/**/*.mjs', 'scripts/serve-web.mjs'],
        languageOptions: {globals: {...globals.node, ...globals.browser}},
    },
];
