// Shared by the settings host's tests: a `vitrel settings` on a device folder of its own, and
// small waiting helpers.
import { spawn } from 'node:child_process';
import { cpSync, mkdtempSync, rmSync } from 'node:fs';
import { connect } from 'node:net';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const reloadNotification = 'com.wyndle.vitrel3dtouch/reloadPrefs';

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// Polls `check` until it answers something truthy; fails with `what` after `timeout` ms.
export async function waitFor(what, check, timeout = 10000, interval = 25) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await sleep(interval);
  }
}

// A raw connection (net.connect's options, or a Unix socket's path); `closed` resolves to all
// the server sent once it hangs up.
export function openConnection(where) {
  const socket = connect(where);
  let text = '';
  socket.setEncoding('utf8').on('data', (chunk) => (text += chunk));
  socket.on('error', () => {});
  const closed = new Promise((resolve) => socket.on('close', () => resolve(text)));
  return { socket, closed, connected: new Promise((resolve) => socket.on('connect', resolve)) };
}

// A temporary device folder; `resources` (optional) replaces files of the bundle's resources.
export function makeDevice(bundleResources, overrides = []) {
  const work = mkdtempSync(join(tmpdir(), 'vitrel-settings-'));
  const resources = join(work, 'resources');
  cpSync(bundleResources, resources, { recursive: true });
  for (const file of overrides) cpSync(file, join(resources, file.split('/').pop()));
  return {
    work,
    device: join(work, 'device'),
    resources,
    remove: () => rmSync(work, { recursive: true, force: true }),
  };
}

// Starts a program and collects its output; `lines` resolves each printed line to waiters.
export function start(program, args, { log } = {}) {
  const child = spawn(program, args, { stdio: ['ignore', 'pipe', 'pipe'] });
  const output = { stdout: '', stderr: '' };
  child.stdout.setEncoding('utf8').on('data', (text) => (output.stdout += text));
  child.stderr.setEncoding('utf8').on('data', (text) => {
    output.stderr += text;
    if (log) process.stderr.write(text);
  });
  const ended = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  return { child, output, ended };
}

// `vitrel settings` on the device, on a free port or the one given; answers its URL once it
// serves.
export async function startSettings(vitrel, device, extraArgs = [], port = 0) {
  const settings = start(vitrel, ['--device', device, 'settings', '--port', String(port), ...extraArgs]);
  const served = () => {
    const { exitCode, signalCode } = settings.child;
    if (exitCode !== null || signalCode !== null) throw new Error(`vitrel settings ended (${exitCode ?? signalCode})`);
    return settings.output.stdout.match(/http:\/\/127\.0\.0\.1:\d+\//)?.[0];
  };
  const url = await waitFor('the settings URL', served, 30000).catch((error) => {
    throw new Error(`${error.message}; it said: ${settings.output.stderr.slice(-2000)}`);
  });
  return { ...settings, url, port: Number(new URL(url).port) };
}

export async function stop(process, timeout = 10000) {
  if (process.child.exitCode !== null || process.child.signalCode !== null) return process.ended;
  process.child.kill('SIGTERM');
  const timer = setTimeout(() => process.child.kill('SIGKILL'), timeout);
  const end = await process.ended;
  clearTimeout(timer);
  return end;
}
