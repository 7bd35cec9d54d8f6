// The running springboard's control socket under clients that connect and say nothing, trickle
// their command or never read: a press is still answered at once, and a `--press` to a
// springboard that does not answer gives up with a reason.
import assert from 'node:assert/strict';
import { existsSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { openConnection, sleep, start, stop, waitFor } from './support.mjs';

const vitrel = process.env.VITREL;
let work, device, springboard, socketPath;

const open = () => openConnection(socketPath);

async function openIdle(count) {
  const clients = Array.from({ length: count }, open);
  await Promise.all(clients.map((client) => client.connected));
  return clients;
}

// `vitrel springboard ARGS` to completion: its exit code, output and time taken.
async function run(...args) {
  const began = Date.now();
  const command = start(vitrel, ['--device', device, 'springboard', ...args]);
  const end = await command.ended;
  return { ...end, ...command.output, ms: Date.now() - began };
}

before(async () => {
  work = mkdtempSync(join(tmpdir(), 'vitrel-control-'));
  device = join(work, 'device');
  const caches = join(device, 'var/mobile/Library/Caches/vitrel');
  socketPath = join(caches, 'control.sock');
  springboard = start(vitrel, ['--device', device, 'springboard', '--scale', '1']);
  await waitFor('the first drawing', () => existsSync(join(caches, 'screen.png')), 30000);
});

after(async () => {
  if (springboard) await stop(springboard);
  rmSync(work, { recursive: true, force: true });
});

test('a press is answered at once while ten clients sit idle', async () => {
  const idle = await openIdle(10);
  const press = await run('--press', 'com.vitrel.sample.photos');
  console.log(`press answered in ${press.ms} ms with 10 idle clients`);
  assert.equal(press.code, 0, press.stderr);
  assert.match(press.stdout, /^Drew .*screen\.png$/m);
  assert.ok(press.ms < 8000, `${press.ms} ms`);
  // Each idle client is let go, unanswered, soon after.
  const answers = await Promise.race([Promise.all(idle.map((client) => client.closed)), sleep(5000)]);
  assert.deepEqual(answers, Array(10).fill(''), 'idle clients still held');
});

test('a client trickling its command is cut off without holding up others', async () => {
  const slow = open();
  await slow.connected;
  const trickle = setInterval(() => slow.socket.write('p'), 300);
  try {
    const press = await run('--press', 'com.vitrel.sample.photos');
    assert.equal(press.code, 0, press.stderr);
    assert.ok(press.ms < 8000, `${press.ms} ms`);
    assert.equal(await Promise.race([slow.closed, sleep(5000).then(() => 'still open')]), '');
  } finally {
    clearInterval(trickle);
    slow.socket.destroy();
  }
});

test('more idle clients than the springboard keeps open drop the oldest', async () => {
  const idle = await openIdle(40);
  const press = await run('--press', 'com.vitrel.sample.mail');
  assert.equal(press.code, 0, press.stderr);
  assert.ok(press.ms < 8000, `${press.ms} ms`);
  // The oldest were dropped as soon as the newer ones came.
  assert.equal(await Promise.race([idle[0].closed, sleep(500).then(() => 'still open')]), '');
  idle.forEach((client) => client.socket.destroy());
});

test('a press to a springboard that does not answer gives up with a reason', async () => {
  springboard.child.kill('SIGSTOP');
  try {
    const press = await run('--press', 'com.vitrel.sample.photos');
    assert.equal(press.code, 1);
    assert.match(press.stderr, /the springboard did not answer within 10 seconds/);
    assert.ok(press.ms < 25000, `${press.ms} ms`);
  } finally {
    springboard.child.kill('SIGCONT');
  }
  // Once it runs again it answers as before.
  assert.equal((await run('--home')).code, 0);
});
