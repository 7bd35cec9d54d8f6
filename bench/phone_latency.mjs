// How soon the phone in the settings page shows what was done: a `vitrel settings` of the
// release build on a fresh device, its page in headless Chromium, and three roads timed in
// the page itself, ROUNDS times each:
//   switch → picture   a switch of the open menu's settings clicked, to the new picture shown
//                      (decoded and in place);
//   hold → menu        a hold on Photos in the picture, from the moment it becomes a hold (half
//                      a second after the press, when the page sends it), to the picture with
//                      the menu shown;
//   prefs set → page   `vitrel prefs set` as a process of its own, to the page's switch showing
//                      the value, timed from the process's exit and from its start.
//
//   cmake --build --preset release --target vitrel Vitrel3DTouch 3dvitrelprefs
//   node bench/phone_latency.mjs [ROUNDS]          # VITREL=... for another build
//
// It needs playwright-core (npm ci --prefix tests/e2e/browser) and Debian's chromium.
import { execFileSync, spawn } from 'node:child_process';
import { fileURLToPath } from 'node:url';
import { launchBrowser } from '../tests/e2e/browser/browser.mjs';
import { makeDevice, startSettings, stop, waitFor } from '../tests/e2e/browser/support.mjs';

const root = fileURLToPath(new URL('..', import.meta.url));
const vitrel = process.env.VITREL ?? `${root}build/release/bin/vitrel`;
const rounds = Number(process.argv[2] ?? 20);
const photos = 'com.vitrel.sample.photos';
const switchLabel = 'Dynamic Label Colouring (HS)';
// Time for whatever a change sets going (a second picture, a re-read) to end before the next.
const calm = 300;

const now = () => performance.timeOrigin + performance.now();
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// A round that never ends is a fault to report, not a figure.
function within(promise, what, ms = 10000) {
  let timer;
  const late = new Promise((resolve, reject) => (timer = setTimeout(() => reject(new Error(`no ${what} within ${ms} ms`)), ms)));
  return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

function summary(samples) {
  const sorted = [...samples].sort((a, b) => a - b);
  const rank = (share) => sorted[Math.min(sorted.length - 1, Math.ceil(share * sorted.length) - 1)];
  return { median: rank(0.5), p90: rank(0.9) };
}

// Installed in the page: promises of the page's own clock at the moments timed, so that no
// round trip to the browser is counted.
function installProbes() {
  const clock = () => performance.timeOrigin + performance.now();
  const when = (node, options, reached) => new Promise((resolve) => {
    new MutationObserver((changes, observer) => {
      if (!reached()) return;
      observer.disconnect();
      resolve(clock());
    }).observe(node, options);
  });
  const figure = document.querySelector('#home-screen');
  const switchOf = (label) => document.querySelector(`.row[data-label="${label}"] [role=switch]`);
  window.probes = {
    clock,
    switchOf,
    // Each picture comes in as a new element, decoded.
    nextPicture: () => when(figure, { childList: true }, () => true),
    held: () => when(figure, { attributes: true, attributeFilter: ['data-press'] }, () => figure.dataset.press === 'held'),
    switchShows: (label, value) => when(document.querySelector('#settings'), { attributes: true, childList: true, subtree: true },
      () => switchOf(label)?.getAttribute('aria-checked') === value),
  };
}

async function screenState(url) {
  return (await (await fetch(new URL('/api/screen', url))).json()).screen;
}

async function openContextMenuPage(page) {
  const row = (label) => page.locator(`.row[data-label="${label}"]`);
  while (!(await row(switchLabel).count())) {
    const controller = await page.locator('.list').getAttribute('data-controller');
    if (controller === 'PSListController') await row('Vitrel').click();
    else if (controller === 'MirraRootListController') await row('Context Menu').click();
    else await page.locator('.back-button').click();
    await page.waitForFunction(() => document.body.dataset.idle !== 'false');
  }
}

async function ensureMenu(page, url, open) {
  const state = await screenState(url);
  if (Boolean(state.menu) === open) return;
  if (open) await page.getByRole('button', { name: 'Hold Photos (App)' }).click();
  else await page.keyboard.press('Escape');
  await waitFor(open ? 'the menu' : 'no menu', async () => Boolean((await screenState(url)).menu) === open, 10000);
  await sleep(calm);
}

async function switchToPicture(page, url) {
  await ensureMenu(page, url, true);
  const samples = [];
  for (let round = 0; round < rounds; round++) {
    samples.push(await within(page.evaluate(async (label) => {
      const shown = probes.nextPicture();
      const clicked = probes.clock();
      probes.switchOf(label).click();
      return (await shown) - clicked;
    }, switchLabel), 'new picture after a switch'));
    await sleep(calm);
  }
  return samples;
}

async function holdToMenu(page, url) {
  const samples = [];
  for (let round = 0; round < rounds; round++) {
    await ensureMenu(page, url, false);
    const state = await screenState(url);
    const { frame } = state.targets.find((target) => target.name === photos);
    const box = await page.locator('#screen').boundingBox();
    const scale = Math.min(box.width / state.width, box.height / state.height);
    // Kept in the page, not returned: the evaluation would wait for it.
    await page.evaluate(() => {
      window.timing = probes.held().then(async (held) => (await probes.nextPicture()) - held);
    });
    await page.mouse.move(box.x + (frame.x + frame.width / 2) * scale, box.y + (frame.y + frame.height / 3) * scale);
    await page.mouse.down();
    samples.push(await within(page.evaluate(() => window.timing), 'menu after a hold'));
    await page.mouse.up();
    if (!(await screenState(url)).menu) throw new Error('the picture shown has no menu');
  }
  return samples;
}

function runPrefsSet(device, value) {
  return new Promise((resolve, reject) => {
    const child = spawn(vitrel, ['--device', device, 'prefs', 'set', 'dynamicLabelColoring', value], { stdio: 'ignore' });
    child.on('exit', (code) => (code === 0 ? resolve(now()) : reject(new Error(`prefs set ended with ${code}`))));
  });
}

async function prefsToPage(page, device) {
  const fromExit = [];
  const fromStart = [];
  for (let round = 0; round < rounds; round++) {
    const value = round % 2 === 0 ? 'false' : 'true';
    await page.evaluate(([label, wanted]) => {
      window.timing = probes.switchShows(label, wanted);
    }, [switchLabel, value]);
    const started = now();
    const ended = await runPrefsSet(device, value);
    const updated = await within(page.evaluate(() => window.timing), 'switch updated after prefs set');
    fromExit.push(updated - ended);
    fromStart.push(updated - started);
    await sleep(calm);
  }
  return { fromExit, fromStart };
}

const device = makeDevice(`${root}3dvitrelprefs/Resources`);
const settings = await startSettings(vitrel, device.device, ['--resources', device.resources]);
const browser = await launchBrowser();
try {
  const page = await browser.newPage({ viewport: { width: 1240, height: 940 } });
  await page.goto(settings.url);
  await waitFor('the first picture with its targets', async () => (await screenState(settings.url))?.targets?.length, 30000);
  await page.locator('#phone-controls .target').first().waitFor();
  await openContextMenuPage(page);
  await page.evaluate(installProbes);
  const rows = [['switch → picture', await switchToPicture(page, settings.url)], ['hold → menu', await holdToMenu(page, settings.url)]];
  const prefs = await prefsToPage(page, device.device);
  rows.push(['prefs set (exit) → page', prefs.fromExit], ['prefs set (start) → page', prefs.fromStart]);
  console.log(`vitrel: ${vitrel} (${execFileSync(vitrel, ['--version'], { encoding: 'utf8' }).trim()})`);
  console.log(`${'road'.padEnd(26)}${'median ms'.padStart(10)}${'p90 ms'.padStart(10)}${'rounds'.padStart(8)}`);
  for (const [name, samples] of rows) {
    const { median, p90 } = summary(samples);
    console.log(`${name.padEnd(26)}${median.toFixed(1).padStart(10)}${p90.toFixed(1).padStart(10)}${String(samples.length).padStart(8)}`);
  }
} finally {
  await browser.close();
  await stop(settings);
  device.remove();
}
