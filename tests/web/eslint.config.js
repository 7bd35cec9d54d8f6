// The settings pages' web client: ES modules in the browser without a build step, so nothing
// but this linter reads the code before a browser runs it.
import js from '@eslint/js';
import globals from 'globals';

export default [
  js.configs.recommended,
  {
    files: ['**/*.js'],
    languageOptions: {
      ecmaVersion: 2022,
      sourceType: 'module',
      globals: globals.browser,
    },
    // Beyond the recommended set: names hiding outer ones (misread as in C++), loose equality,
    // and bindings that could be constants.
    rules: {
      'no-shadow': 'error',
      eqeqeq: ['error', 'smart'],
      'prefer-const': 'error',
      'no-var': 'error',
    },
  },
];
