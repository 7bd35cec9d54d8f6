// The settings host refuses what a page of another site, or a broken client, could send: a
// foreign Host (DNS rebinding), other origins, bodies that are not JSON or too large, unknown
// actions and routes, wrong methods, and paths out of its folders. Nothing refused writes.
// Slow, idle and oversized clients cost it a bounded share: the page is answered meanwhile.
import assert from 'node:assert/strict';
import { readFileSync, symlinkSync } from 'node:fs';
import { request } from 'node:http';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { makeDevice, openConnection, sleep, start, startSettings, stop } from './support.mjs';

let device, settings, settingsFile, stored;

// A raw request: the path is sent as written (no normalisation), headers as given.
function send({ method = 'GET', path = '/', headers = {}, body }) {
  return new Promise((resolve, reject) => {
    const outgoing = request({
      host: '127.0.0.1', port: settings.port, method, path, setHost: !('Host' in headers),
      headers: { ...(body !== undefined ? { 'Content-Length': Buffer.byteLength(body) } : {}), ...headers },
    }, (response) => {
      let text = '';
      response.setEncoding('utf8').on('data', (chunk) => (text += chunk)).on('end', () => {
        let json = null;
        try { json = JSON.parse(text); } catch { /* not JSON */ }
        resolve({ status: response.statusCode, headers: response.headers, text, json });
      });
    });
    outgoing.on('error', reject);
    if (body !== undefined) outgoing.write(body);
    outgoing.end();
  });
}

const json = { 'Content-Type': 'application/json' };
const action = (body, headers = {}) => send({ method: 'POST', path: '/api/action', headers: { ...json, ...headers }, body });

const open = () => openConnection({ host: '127.0.0.1', port: settings.port });

const within = (ms, promise) => Promise.race([promise, sleep(ms).then(() => `nothing within ${ms} ms`)]);

async function refused(answer, status, reason) {
  assert.equal(answer.status, status, `${reason}: ${answer.status} ${answer.text}`);
  assert.equal(typeof answer.json?.error, 'string', `${reason}: no JSON error in ${answer.text}`);
}

before(async () => {
  device = makeDevice(process.env.VITREL_BUNDLE_RESOURCES);
  settings = await startSettings(process.env.VITREL, device.device, ['--no-springboard', '--resources', device.resources]);
  settingsFile = join(device.device, 'var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist');
  stored = readFileSync(settingsFile);
});

after(async () => {
  if (settings) assert.equal((await stop(settings)).code, 0, settings.output.stderr);
  device?.remove();
});

test('the page is served to loopback names', async () => {
  for (const host of ['127.0.0.1', 'localhost', '[::1]']) {
    const answer = await send({ path: '/api/page', headers: { Host: `${host}:${settings.port}` } });
    assert.equal(answer.status, 200, host);
    assert.equal(answer.json.page.controllerClass, 'MirraRootListController');
  }
  assert.equal((await send({ path: '/' })).status, 200);
});

test('a foreign Host header is refused', async () => {
  await refused(await send({ path: '/api/page', headers: { Host: `attacker.example:${settings.port}` } }), 403, 'GET');
  await refused(await send({ path: '/', headers: { Host: 'attacker.example' } }), 403, 'client');
  const body = JSON.stringify({ action: 'back' });
  await refused(await action(body, { Host: `rebound.example:${settings.port}` }), 403, 'POST');
  await refused(await action(body, { Host: `127.0.0.1:${settings.port + 1}` }), 403, 'another port');
});

test('writes from other origins are refused', async () => {
  const body = JSON.stringify({ action: 'back' });
  await refused(await action(body, { Origin: 'http://attacker.example' }), 403, 'Origin');
  await refused(await action(body, { 'Sec-Fetch-Site': 'cross-site' }), 403, 'Sec-Fetch-Site');
  await refused(await send({ method: 'POST', path: '/api/action', headers: { 'Content-Type': 'text/plain' }, body }), 415, 'text/plain');
});

test('actions are taken as application/json exactly, with or without parameters', async () => {
  const body = JSON.stringify({ action: 'back' });
  for (const type of ['application/json; charset=utf-8', 'Application/JSON', ' application/json ;charset=UTF-8']) {
    const answer = await action(body, { 'Content-Type': type });
    assert.notEqual(answer.status, 415, type);
    assert.ok(answer.json?.page, `${type}: ${answer.text}`);
  }
  for (const type of ['application/jsonx', 'application/json-patch+json', 'application/json5; charset=utf-8', '']) {
    await refused(await action(body, { 'Content-Type': type }), 415, type);
  }
});

test('a client that half-closes after its request still gets the answer', async () => {
  const client = open();
  client.socket.end(`GET /api/page HTTP/1.1\r\nHost: 127.0.0.1:${settings.port}\r\n\r\n`);
  assert.match(await within(5000, client.closed), /^HTTP\/1\.1 200 OK\r\n[^]*"controllerClass"/);
});

test('a request with endless header lines is refused early with 431', async () => {
  const client = open();
  await client.connected;
  client.socket.write(`GET /api/page HTTP/1.1\r\nHost: 127.0.0.1:${settings.port}\r\n`);
  // Written until the host hangs up, at most 8 MiB.
  let written = 0;
  while (written < 8 * 1024 * 1024 && !client.socket.destroyed && client.socket.writable) {
    const lines = 'X-Filler: a\r\n'.repeat(1000);
    written += lines.length;
    if (!client.socket.write(lines)) await within(1000, new Promise((resolve) => client.socket.once('drain', resolve)));
  }
  assert.match(await within(5000, client.closed), /^HTTP\/1\.1 431 /);
  await refused(await send({ path: '/api/page', headers: { 'X-Filler': 'a'.repeat(40 * 1024) } }), 431, 'one huge header');
  assert.equal((await send({ path: '/api/page' })).status, 200);
});

test('ten clients that trickle or say nothing do not keep the page from others', async () => {
  const clients = Array.from({ length: 10 }, open);
  await Promise.all(clients.map((client) => client.connected));
  const tricklers = clients.slice(0, 5);
  tricklers.forEach((client) => client.socket.write(`GET /api/page HTTP/1.1\r\nHost: 127.0.0.1:${settings.port}\r\nX-Slow: `));
  const trickle = setInterval(() => tricklers.forEach((client) => client.socket.write('a')), 500);
  try {
    const began = Date.now();
    const answer = await within(3000, send({ path: '/api/page' }));
    console.log(`page answered in ${Date.now() - began} ms with 10 slow clients`);
    assert.equal(answer.status, 200, String(answer));
    // A request that never ends is cut off at its deadline.
    for (const client of tricklers) assert.match(await within(8000, client.closed), /^HTTP\/1\.1 408 /);
  } finally {
    clearInterval(trickle);
    clients.forEach((client) => client.socket.destroy());
  }
});

test('malformed JSON, unknown actions and bad arguments are refused', async () => {
  await refused(await action('{"action": "tap", '), 400, 'truncated JSON');
  await refused(await action('[1, 2]'), 400, 'not an object');
  await refused(await action(JSON.stringify({ action: 'format the disk' })), 400, 'unknown action');
  await refused(await action(JSON.stringify({ action: 'setSwitch', view: 'v1', on: 'yes' })), 400, 'mistyped argument');
});

test('a body over 64 KiB is refused', async () => {
  const padding = 'x'.repeat(70 * 1024);
  await refused(await action(JSON.stringify({ action: 'back', padding })), 413, 'oversize body');
});

test('unknown routes and wrong methods are refused', async () => {
  await refused(await send({ path: '/api/nothing' }), 404, 'unknown route');
  await refused(await send({ path: '/no-such-file.js' }), 404, 'unknown file');
  await refused(await send({ path: '/api/action' }), 405, 'GET of the action route');
  await refused(await send({ method: 'DELETE', path: '/api/page' }), 405, 'DELETE');
  await refused(await send({ method: 'PUT', path: '/index.html', headers: json, body: '{}' }), 405, 'PUT');
});

test('paths out of the served folders are refused', async () => {
  for (const path of ['/../README.md', '/%2e%2e/README.md', '/js/%2E%2E/%2e%2e/README.md', '/..%2f..%2fetc/passwd', '/js/..\\..\\README.md']) {
    await refused(await send({ path }), 400, path);
  }
  for (const path of ['//etc/passwd', '/%2fetc/passwd', '/bundle/../../../../etc/passwd.png', '/bundle/Root.plist']) {
    const answer = await send({ path });
    assert.ok(answer.status === 400 || answer.status === 404, `${path}: ${answer.status}`);
    assert.ok(!answer.text.includes('root:'), path);
  }
  // A link inside the bundle's folder that leads out of it.
  const bundle = join(device.device, 'var/jb/Library/PreferenceBundles/3dvitrelprefs.bundle');
  symlinkSync('/etc/passwd', join(bundle, 'leak.png'));
  await refused(await send({ path: '/bundle/leak.png' }), 404, 'symlink out');
  assert.equal((await send({ path: '/bundle/Assets/1.png' })).headers['content-type'], 'image/png');
});

test('the system font is served from its package, and nothing else from there', async () => {
  const font = await send({ path: '/fonts/Inter-Regular.otf' });
  assert.equal(font.status, 200);
  assert.equal(font.headers['content-type'], 'font/otf');
  for (const path of ['/fonts/../index.html', '/fonts/%2e%2e/%2e%2e/%2e%2e/etc/passwd', '/fonts/No-Such.otf', '/fonts/']) {
    const answer = await send({ path });
    assert.ok(answer.status === 400 || answer.status === 404, `${path}: ${answer.status}`);
  }
});

test('nothing refused changed the settings file', () => {
  assert.deepEqual(readFileSync(settingsFile), stored);
});

test('a second host refuses the port the first one serves on', async () => {
  const second = start(process.env.VITREL, ['--device', device.device, 'settings', '--port', String(settings.port),
    '--no-springboard', '--resources', device.resources]);
  const end = await Promise.race([second.ended, sleep(10000).then(() => null)]);
  if (!end) await stop(second);
  assert.notEqual(end, null, 'the second host kept running');
  assert.equal(end.code, 1);
  assert.match(second.output.stderr, /Address already in use/);
  assert.equal((await send({ path: '/api/page' })).status, 200, 'the first host still answers');
});
