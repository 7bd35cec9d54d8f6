// The settings host pushes what changes to every open page (server-sent events): a new picture
// of the home screen, the device's settings changed from any process (the pages shown read
// their values again first), and a page changed by an action from any tab. An action sent from
// a page another tab has left is answered with the page shown, not run. The home screen's
// touches are passed to the springboard's control socket. Latencies are logged, not asserted.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { mkdirSync, renameSync, rmSync, watch, writeFileSync } from 'node:fs';
import { request } from 'node:http';
import { createServer } from 'node:net';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { promisify } from 'node:util';
import { makeDevice, sleep, startSettings, stop, waitFor } from './support.mjs';

const vitrel = process.env.VITREL;
let device, settings, caches, preferences;

// An event stream as node's http reads it: `events` collects {event, data, at} as they come.
function openStream() {
  return new Promise((resolve, reject) => {
    const outgoing = request({ host: '127.0.0.1', port: settings.port, path: '/api/events' }, (response) => {
      const stream = { status: response.statusCode, events: [], comments: 0, response, outgoing };
      stream.ended = new Promise((done) => response.on('end', done).on('error', done).on('close', done));
      let text = '';
      response.setEncoding('utf8').on('data', (chunk) => {
        const at = performance.now();
        text += chunk;
        for (let end; (end = text.indexOf('\n\n')) >= 0; text = text.slice(end + 2)) {
          const block = text.slice(0, end);
          if (block.startsWith(':')) { stream.comments++; continue; }
          const field = (name) => block.split('\n').find((line) => line.startsWith(`${name}: `))?.slice(name.length + 2);
          stream.events.push({ event: field('event'), data: JSON.parse(field('data') ?? 'null'), at });
        }
      });
      resolve(stream);
    });
    outgoing.on('error', reject).end();
  });
}

const close = (stream) => stream.outgoing.destroy();

// The first event of that name after `from` events were seen.
function nextEvent(stream, name, from = stream.events.length) {
  return waitFor(`a ${name} event`, () => stream.events.slice(from).find((event) => event.event === name), 10000, 2);
}

async function call(method, path, body) {
  const response = await fetch(`${settings.url}${path.slice(1)}`, {
    method, ...(body === undefined ? {} : { headers: { 'Content-Type': 'application/json' }, body }),
  });
  return { status: response.status, json: await response.json() };
}
const page = async () => (await call('GET', '/api/page')).json.page;
const act = (body) => call('POST', '/api/action', JSON.stringify(body));
const screen = (body) => call('POST', '/api/screen', typeof body === 'string' ? body : JSON.stringify(body));

// Nodes of the page, depth first.
function* nodes(value) {
  if (!value || typeof value !== 'object') return;
  yield value;
  for (const child of Object.values(value)) yield* nodes(child);
}
// The switch of the root page's first row (the "enabled" setting).
const enabledSwitch = (shown) => [...nodes(shown)].find((node) => node.className === 'UISwitch');

before(async () => {
  device = makeDevice(process.env.VITREL_BUNDLE_RESOURCES);
  settings = await startSettings(vitrel, device.device, ['--no-springboard', '--resources', device.resources]);
  caches = join(device.device, 'var/mobile/Library/Caches/vitrel');
  preferences = join(device.device, 'var/jb/var/mobile/Library/Preferences');
});

after(async () => {
  if (settings) assert.equal((await stop(settings)).code, 0, settings.output.stderr);
  device?.remove();
});

test('a stream says hello with the picture and the page shown, then hears every change', async () => {
  const stream = await openStream();
  assert.equal(stream.status, 200);
  assert.match(stream.response.headers['content-type'], /^text\/event-stream/);
  const hello = await nextEvent(stream, 'hello', 0);
  assert.deepEqual(hello.data, { screen: null, key: (await page()).key });

  // A setting changed by another process: the page shows the stored value, by the same view.
  // The command replaces the settings file, then posts the reload notification.
  const shown = enabledSwitch(await page());
  let replaced;
  const watcher = watch(preferences, () => (replaced ??= performance.now()));
  const seen = stream.events.length;
  await promisify(execFile)(vitrel, ['--device', device.device, 'prefs', 'set', 'enabled', String(!shown.control.on)]);
  const changed = await nextEvent(stream, 'settings', seen);
  watcher.close();
  console.log(`settings file replaced → settings event: ${(changed.at - replaced).toFixed(1)} ms`);
  assert.deepEqual(changed.data, {});
  const now = enabledSwitch(await page());
  assert.equal(now.id, shown.id, 'the switch was made anew');
  assert.equal(now.control.on, !shown.control.on);

  // A new picture, put in place by rename as the springboard does, with its state beside it.
  const state = { os: 16, locked: false, style: 'light', width: 390, height: 844, menu: null, targets: [] };
  mkdirSync(caches, { recursive: true });
  writeFileSync(join(caches, 'screen.json'), JSON.stringify(state));
  writeFileSync(join(caches, 'screen.png.new'), 'not really a picture');
  const from = stream.events.length;
  const began = performance.now();
  renameSync(join(caches, 'screen.png.new'), join(caches, 'screen.png'));
  const drawn = await nextEvent(stream, 'screen', from);
  console.log(`screen.png renamed into place → screen event: ${(drawn.at - began).toFixed(1)} ms`);
  const answer = (await call('GET', '/api/screen')).json;
  assert.deepEqual(answer, { version: drawn.data.version, screen: state });
  assert.equal(typeof answer.version, 'string');
  writeFileSync(join(caches, 'screen.json'), '{"cut short');
  assert.deepEqual((await call('GET', '/api/screen')).json, { version: answer.version, screen: null });
  rmSync(join(caches, 'screen.json'));
  assert.equal((await call('GET', '/api/screen')).json.screen, null);
  close(stream);
});

test('an action from one tab is heard by every tab; one for a page left behind runs nothing', async () => {
  const [tab1, tab2] = [await openStream(), await openStream()];
  const root = await page();
  const link = [...nodes(root.sections)].find((row) => row.opensPage);
  const opened = await act({ action: 'tap', view: link.cell.id, key: root.key });
  assert.equal(opened.status, 200);
  const inner = opened.json.page;
  assert.notEqual(inner.key, root.key);
  for (const tab of [tab1, tab2]) assert.deepEqual((await nextEvent(tab, 'page', 0)).data, { key: inner.key });

  // The other tab still shows the root page: its tap is answered with the page shown.
  const events = tab1.events.length;
  for (const stale of [{ action: 'tap', view: link.cell.id, key: root.key }, { action: 'back', key: root.key },
    { action: 'tap', view: 'v0' }]) {
    const answer = await act(stale);
    assert.equal(answer.status, 200, JSON.stringify(stale));
    assert.equal(answer.json.stale, true);
    assert.equal(answer.json.page.key, inner.key);
  }
  assert.equal((await page()).key, inner.key, 'a stale action moved the page');
  await sleep(100);
  assert.deepEqual(tab1.events.slice(events), [], 'a stale action was announced');

  // Current actions still run and fail as before.
  assert.equal((await act({ action: 'back', key: 7 })).status, 400);
  const row = [...nodes(inner.sections)].find((node) => node.cell);
  assert.equal((await act({ action: 'setSwitch', view: row.cell.id, on: true, key: inner.key })).status, 409);
  const back = await act({ action: 'back', key: inner.key });
  assert.equal(back.status, 200);
  assert.equal(back.json.page.key, root.key);
  // A page opened anew is another page, though it may take the closed one's place in memory.
  const again = await act({ action: 'tap', view: link.cell.id, key: root.key });
  assert.notEqual(again.json.page.key, inner.key);
  await act({ action: 'back' });
  [tab1, tab2].forEach(close);
});

test('at most 16 streams are open, and they leave room for other requests', async () => {
  const streams = await Promise.all(Array.from({ length: 16 }, openStream));
  try {
    assert.deepEqual(streams.map((stream) => stream.status), Array(16).fill(200));
    const refused = await openStream();
    assert.equal(refused.status, 503);
    const pages = await Promise.all(Array.from({ length: 8 }, page));
    assert.ok(pages.every((shown) => shown.key === pages[0].key));
    // A client that goes frees its place at once.
    close(streams.pop());
    await waitFor('a place for a new stream', async () => {
      const stream = await openStream();
      if (stream.status === 200) streams.push(stream);
      else close(stream);
      return stream.status === 200;
    }, 5000, 20);
  } finally {
    streams.forEach(close);
  }
});

test('touches of the home screen go to the springboard, which answers', async () => {
  assert.equal((await screen({ action: 'lock' })).status, 503);
  for (const malformed of ['{"action": "hold"', '[]', { action: 'press' }, { action: 'hold', x: 10 },
    { action: 'tap', x: -1, y: 3 }, { action: 'style', style: 'blue' }, { action: 'system', version: 14 }]) {
    const answer = await screen(malformed);
    assert.equal(answer.status, 400, JSON.stringify(malformed));
    assert.equal(typeof answer.json.error, 'string');
  }

  // A springboard stand-in on the device's control socket, answering as it is told to.
  const received = [];
  const answers = ['ok /screen.png', 'nothing: nothing to hold at 12.5,40', 'error: no menu is open'];
  const fake = createServer((connection) => {
    let line = '';
    connection.setEncoding('utf8').on('data', (chunk) => {
      line += chunk;
      if (!line.includes('\n')) return;
      received.push(line.trim());
      connection.end(`${answers.shift()}\n`);
    });
  });
  await new Promise((resolve) => fake.listen(join(caches, 'control.sock'), resolve));
  try {
    assert.deepEqual(await screen({ action: 'hold', x: 12.5, y: 40 }), { status: 200, json: { done: true } });
    assert.deepEqual(await screen({ action: 'tap', x: 12.5, y: 40 }),
      { status: 200, json: { done: false, message: 'nothing to hold at 12.5,40' } });
    assert.deepEqual(await screen({ action: 'style', style: 'dark' }), { status: 409, json: { error: 'no menu is open' } });
    assert.deepEqual(received, ['hold 12.50 40.00', 'tap 12.50 40.00', 'style dark']);
  } finally {
    await new Promise((resolve) => fake.close(resolve));
  }
});

test('stopping the host ends every stream at once', async () => {
  const streams = await Promise.all([openStream(), openStream()]);
  await Promise.all(streams.map((stream) => nextEvent(stream, 'hello', 0)));
  const began = performance.now();
  const end = await stop(settings);
  await Promise.all(streams.map((stream) => stream.ended));
  console.log(`SIGTERM → host stopped and streams ended: ${(performance.now() - began).toFixed(0)} ms`);
  assert.equal(end.code, 0, settings.output.stderr);
});
