// The page's writes as the settings file takes them: a change the bundle refuses is answered as
// a failure with the control as stored, and the page's writes and `vitrel prefs set` commands
// at once lose none of each other's changes.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { promisify } from 'node:util';
import { makeDevice, startSettings, stop } from './support.mjs';

const vitrel = process.env.VITREL;
let device, settings, settingsFile;

const prefs = async (...args) =>
  (await promisify(execFile)(vitrel, ['--device', device.device, 'prefs', ...args])).stdout;
const storedSettings = async () => JSON.parse(await prefs('list', '--json'));

async function post(body) {
  const response = await fetch(`${settings.url}api/action`, {
    method: 'POST', headers: { 'Content-Type': 'application/json' }, body: JSON.stringify(body),
  });
  return { status: response.status, json: await response.json() };
}

// The page's first switch: its view id and whether it shows on.
function firstSwitch(page) {
  const nodes = [page];
  while (nodes.length) {
    const node = nodes.shift();
    if (node?.className === 'UISwitch') return { id: node.id, on: node.control.on };
    if (node && typeof node === 'object') nodes.push(...Object.values(node));
  }
  throw new Error('the page shows no switch');
}

before(async () => {
  device = makeDevice(process.env.VITREL_BUNDLE_RESOURCES);
  settings = await startSettings(vitrel, device.device, ['--no-springboard', '--resources', device.resources]);
  settingsFile = join(device.device, 'var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist');
});

after(async () => {
  if (settings) assert.equal((await stop(settings)).code, 0, settings.output.stderr);
  device?.remove();
});

test('a change the bundle refuses is answered as a failure, the control as stored', async () => {
  const { id } = firstSwitch((await (await fetch(`${settings.url}api/page`)).json()).page);
  const stored = readFileSync(settingsFile);
  writeFileSync(settingsFile, 'not a property list');
  try {
    const shown = [];
    for (const on of [true, false]) {
      const answer = await post({ action: 'setSwitch', view: id, on });
      assert.equal(answer.status, 409, JSON.stringify(answer.json.error));
      assert.match(answer.json.error, /^Not saved: the settings file cannot be read \(.*not a property list/);
      shown.push(firstSwitch(answer.json.page).on);
    }
    // Asked for on and for off, it shows the same both times: what the bundle reads.
    assert.equal(shown[0], shown[1]);
    assert.equal(readFileSync(settingsFile, 'utf8'), 'not a property list');
  } finally {
    writeFileSync(settingsFile, stored);
  }
  const answer = await post({ action: 'setSwitch', view: id, on: false });
  assert.equal(answer.status, 200);
  assert.equal(firstSwitch(answer.json.page).on, false);
});

test('the page and `vitrel prefs set` writing at once lose none of each other\'s changes', async () => {
  const shown = firstSwitch((await (await fetch(`${settings.url}api/page`)).json()).page);
  const id = shown.id;
  // Which key the switch writes: the one a flip changes.
  const before = await storedSettings();
  await post({ action: 'setSwitch', view: id, on: !shown.on });
  const flipped = await storedSettings();
  const key = Object.keys(flipped).find((name) => flipped[name].value !== before[name]?.value);
  assert.ok(key, 'the switch changed no key');

  const written = [1, 2, 3].flatMap((writer) => [0, 1, 2, 3, 4, 5].map((n) => [`writer${writer}_${n}`, n]));
  const commands = [1, 2, 3].map(async (writer) => {
    for (const [name, n] of written.filter(([name]) => name.startsWith(`writer${writer}_`))) {
      await prefs('set', '--force', name, String(n));
    }
  });
  let on = flipped[key].value;
  const flips = (async () => {
    for (let n = 0; n < 30; n++) {
      on = !on;
      assert.equal((await post({ action: 'setSwitch', view: id, on })).status, 200);
    }
  })();
  await Promise.all([...commands, flips]);

  const after = await storedSettings();
  const lost = written.filter(([name, n]) => after[name]?.value !== n).map(([name]) => name);
  console.log(`lost updates ${lost.length + (after[key].value === on ? 0 : 1)} of ${written.length + 1} final values`);
  assert.deepEqual(lost, []);
  assert.equal(after[key].value, on, `the page's last write to ${key} was undone`);
});
