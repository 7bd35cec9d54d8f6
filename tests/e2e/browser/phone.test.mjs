// The phone beside the Settings pages, in a real browser: the picture takes holds and taps,
// an open menu follows the settings, the page hears every change pushed (from `vitrel prefs
// set`, from another tab), the lock screen's notification and the other controls answer the
// keyboard, and the page says so while its host is gone and comes back with it.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launchBrowser } from './browser.mjs';
import { makeDevice, startSettings, stop, waitFor } from './support.mjs';

const vitrel = process.env.VITREL;
const screenshots = process.env.VITREL_SCREENSHOTS;
const photos = 'com.vitrel.sample.photos';

let device, settings, browser, page;

const run = (...args) => execFileSync(vitrel, ['--device', device.device, ...args], { encoding: 'utf8' }).trim();
const api = async (path) => (await fetch(new URL(path, settings.url))).json();
const screenState = async () => (await api('/api/screen')).screen;
const shownVersion = () => page.locator('#screen').getAttribute('data-version');
const row = (label) => page.locator(`.row[data-label="${label}"]`);
const settled = () => page.waitForFunction(() => document.body.dataset.idle !== 'false');
const labelSwitch = () => row('Dynamic Label Colouring (HS)').locator('[role=switch]');

// The springboard writes what the screen shows before it draws the picture, so while the
// picture is older than that a drawing is under way and the two do not match yet.
const cached = (name) => statSync(join(device.device, 'var/mobile/Library/Caches/vitrel', name), { bigint: true });
const drawn = () => cached('screen.png').mtimeNs >= cached('screen.json').mtimeNs;

// Waits until the page shows a picture drawn after `since` whose screen passes `check`.
async function screenWhere(what, check, since) {
  return waitFor(what, async () => {
    if (!drawn()) return null;
    const { version, screen } = await api('/api/screen');
    if (!version || version === since || !screen || !check(screen) || !drawn()) return null;
    return (await shownVersion()) === version && screen;
  }, 15000);
}

// The text colours of the labels showing these actions in a dumped view tree.
function labelColours(tree, actions) {
  const colours = [];
  const visit = (view) => {
    if (actions.includes(view.text) && view.textColor) colours.push(view.textColor);
    (view.subviews ?? []).forEach(visit);
  };
  visit(tree.window ?? tree);
  return colours;
}

// The same of the running springboard's screen.
const menuLabelColours = (actions) => labelColours(JSON.parse(run('springboard', '--dump', '-')), actions);

// Where a point of the screen is in the page.
async function pagePoint(state, { x, y }) {
  const box = await page.locator('#screen').boundingBox();
  const scale = Math.min(box.width / state.width, box.height / state.height);
  return { x: box.x + (box.width - state.width * scale) / 2 + x * scale, y: box.y + (box.height - state.height * scale) / 2 + y * scale };
}

async function holdInPicture(state, target) {
  const { x, y } = await pagePoint(state, { x: target.frame.x + target.frame.width / 2, y: target.frame.y + target.frame.height / 3 });
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.waitForFunction(() => document.querySelector('#home-screen').dataset.press === 'held');
  await page.mouse.up();
}

async function openContextMenuPage() {
  for (;;) {
    const controller = await page.locator('.list').getAttribute('data-controller');
    if (controller === 'MirraContextMenuController' || (await row('Dynamic Label Colouring (HS)').count())) return;
    if (controller === 'PSListController') await row('Vitrel').click();
    else if (controller === 'MirraRootListController') await row('Context Menu').click();
    else await page.locator('.back-button').click();
    await settled();
  }
}

async function saveScreenshot(name) {
  if (!screenshots) return;
  mkdirSync(screenshots, { recursive: true });
  await page.screenshot({ path: join(screenshots, name) });
}

before(async () => {
  device = makeDevice(process.env.VITREL_BUNDLE_RESOURCES);
  settings = await startSettings(vitrel, device.device);
  browser = await launchBrowser();
  page = await browser.newPage({ viewport: { width: 1240, height: 940 } });
  page.on('pageerror', (error) => assert.fail(`the page threw: ${error.message}`));
  await page.goto(settings.url);
  await waitFor('the first picture with its targets', async () => (await shownVersion()) && (await screenState())?.targets?.length, 30000);
  await page.locator('#phone-controls .target').first().waitFor();
});

after(async () => {
  await browser?.close();
  if (settings) await stop(settings);
  device?.remove();
});

test('the page is set in the system font the home screen is drawn with, served by the host', async () => {
  const faces = await page.evaluate(async () => {
    await Promise.all([400, 500, 600, 700].map((weight) => document.fonts.load(`${weight} 17px Inter`)));
    return [...document.fonts].map((face) => `${face.family} ${face.weight} ${face.status}`);
  });
  for (const weight of [400, 500, 600, 700]) assert.ok(faces.includes(`Inter ${weight} loaded`), faces.join(', '));
  // Texts in the model's system font or the page's own start with Inter; a named face the
  // browser may lack (Helvetica Neue) falls back to it, not to another font of the machine.
  const families = await page.locator('.row .text, .navigation-title').evaluateAll((nodes) => nodes.map((node) => getComputedStyle(node).fontFamily));
  assert.ok(families.some((family) => /^"?Inter\b/.test(family)), families.join(' | '));
  for (const family of families) assert.match(family, /(^|, )"?Inter"?, "DejaVu Sans", sans-serif$/);
});


// The Photos menu as the library leaves it, drawn by preview on its own: its actions and their
// labels' colours.
function photosMenu() {
  const tree = JSON.parse(run('preview', '--press', photos, '--light', '--dump', '-'));
  return { actions: tree.actions, colours: labelColours(tree, tree.actions).map((colour) => colour.hex) };
}

test('holding Photos in the picture opens its menu in its colour; a click beside it closes it', async () => {
  const expected = photosMenu();
  assert.equal(new Set(expected.colours).size, 1, `preview's Photos menu: ${expected.colours}`);
  const state = await screenState();
  const target = state.targets.find((candidate) => candidate.name === photos);
  assert.ok(target, `Photos is not among ${state.targets.map((candidate) => candidate.name)}`);
  const before = await shownVersion();
  await holdInPicture(state, target);
  const open = await screenWhere('the Photos menu in the picture', (screen) => screen.menu?.name === photos, before);
  assert.equal(open.menu.kind, 'app');
  assert.deepEqual(menuLabelColours(expected.actions).map((colour) => colour.hex), expected.colours);
  assert.equal(await page.locator('#phone-controls .dismiss').count(), 1, 'no way to close the menu from the keyboard');
  await saveScreenshot('phone-menu.png');

  const shown = await shownVersion();
  // Below the menu, clear of the screen's rounded corners.
  const beside = await pagePoint(open, { x: open.width - 30, y: open.height * 0.7 });
  await page.mouse.click(beside.x, beside.y);
  await screenWhere('the menu closed', (screen) => screen.menu === null, shown);
  assert.deepEqual(menuLabelColours(expected.actions), []);
});

test('a press that moves away holds nothing', async () => {
  const state = await screenState();
  const target = state.targets.find((candidate) => candidate.name === photos);
  const { x, y } = await pagePoint(state, { x: target.frame.x + target.frame.width / 2, y: target.frame.y + 20 });
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + 40, y + 40, { steps: 4 });
  await page.waitForTimeout(800);
  assert.equal(await page.locator('#home-screen').getAttribute('data-press'), null);
  await page.mouse.up();
  assert.equal((await screenState()).menu, null);
});

test('label colouring switched off in the page shows at once on the open menu', async () => {
  const { actions, colours } = photosMenu();
  await openContextMenuPage();
  if ((await labelSwitch().getAttribute('aria-checked')) !== 'true') await labelSwitch().click();
  await settled();
  const home = await shownVersion();
  await page.getByRole('button', { name: 'Hold Photos (App)' }).click();
  await screenWhere('the Photos menu', (screen) => screen.menu?.name === photos, home);
  assert.deepEqual(menuLabelColours(actions).map((colour) => colour.hex), colours);

  const shown = await shownVersion();
  await labelSwitch().click();
  await settled();
  assert.equal(run('prefs', 'get', 'dynamicLabelColoring'), 'false');
  await screenWhere('the menu drawn again', (screen) => screen.menu?.name === photos, shown);
  const plain = menuLabelColours(actions);
  assert.equal(plain.length, actions.length, 'the menu was not presented again');
  for (const colour of plain) {
    assert.ok(colour.r === colour.g && colour.g === colour.b, `a label still coloured: ${colour.hex}`);
  }
  await saveScreenshot('phone-menu-plain.png');
  await labelSwitch().click();
  await settled();
});

test('vitrel prefs set in another process changes the control in the page without a reload', async () => {
  await openContextMenuPage();
  await page.evaluate(() => (window.stillThisPage = true));
  for (const value of ['false', 'true']) {
    run('prefs', 'set', 'dynamicLabelColoring', value);
    await waitFor(`the switch shown ${value}`, async () => (await labelSwitch().getAttribute('aria-checked')) === value, 5000);
  }
  assert.equal(await page.evaluate(() => window.stillThisPage), true, 'the page was loaded again');
});

test("another tab's move is seen here; an action on a page it left brings it up to date", async () => {
  await openContextMenuPage();
  const other = await browser.newPage({ viewport: { width: 1240, height: 940 } });
  // This tab hears nothing pushed, so it still shows the page it was last given.
  const deaf = await browser.newPage({ viewport: { width: 1240, height: 940 } });
  await deaf.route('**/api/events', () => {});
  try {
    for (const tab of [other, deaf]) {
      await tab.goto(settings.url);
      await tab.locator('.row[data-label="Dynamic Label Colouring (HS)"]').waitFor();
    }
    await page.locator('.back-button').click();
    await other.locator('.row[data-label="Context Menu"]').waitFor();
    assert.equal(await deaf.locator('.row[data-label="Context Menu"]').count(), 0);
    await deaf.locator('.row[data-label="Dynamic Label Colouring (HS)"] [role=switch]').click();
    await deaf.locator('.row[data-label="Context Menu"]').waitFor();
    assert.equal(await deaf.locator('#toast').isVisible(), false, 'a stale action was shown as an error');
    assert.equal(run('prefs', 'get', 'dynamicLabelColoring'), 'true', 'the switch of a page left behind was turned');
  } finally {
    await other.close();
    await deaf.close();
  }
});

test('locked, the notification is among the targets, held and dismissed from the keyboard', async () => {
  const lock = page.getByRole('switch', { name: 'Locked' });
  const before = await shownVersion();
  await lock.click();
  const locked = await screenWhere('the lock screen', (screen) => screen.locked, before);
  await waitFor('the switch on', async () => (await lock.getAttribute('aria-checked')) === 'true');
  const notification = locked.targets.find((target) => target.kind === 'notification');
  assert.ok(notification, `no notification among ${JSON.stringify(locked.targets)}`);
  const button = page.locator(`#phone-controls [data-control="notification:${notification.name}"]`);
  await button.focus();
  await page.keyboard.press('Enter');
  const held = await screenWhere('the notification held', (screen) => screen.menu?.kind === 'notification', await shownVersion());
  assert.equal(held.menu.name, notification.name);
  await saveScreenshot('phone-notification.png');
  await page.keyboard.press('Escape');
  await screenWhere('the menu dismissed', (screen) => screen.locked && screen.menu === null, await shownVersion());
  await lock.click();
  await screenWhere('the home screen', (screen) => !screen.locked, await shownVersion());
});

test('the phone in the dark style beside the Settings pages in theirs', async () => {
  await page.emulateMedia({ colorScheme: 'dark' });
  try {
    await page.getByRole('radio', { name: 'Dark' }).click();
    await screenWhere('the dark home screen', (screen) => screen.style === 'dark', null);
    await page.getByRole('button', { name: 'Hold Photos (App)' }).click();
    await screenWhere('the Photos menu, dark', (screen) => screen.style === 'dark' && screen.menu?.name === photos, null);
    assert.equal(await page.getByRole('radio', { name: 'Dark' }).getAttribute('aria-checked'), 'true');
    await saveScreenshot('phone-dark.png');
  } finally {
    await page.emulateMedia({ colorScheme: 'light' });
  }
  await page.getByRole('radio', { name: 'Light' }).click();
  await screenWhere('the light home screen', (screen) => screen.style === 'light', null);
  await saveScreenshot('phone-light.png');
});

test('another system restarts the springboard as that system', async () => {
  const before = await screenState();
  const next = before.os === 15 ? 17 : 15;
  await page.getByRole('radio', { name: `iOS ${next}` }).click();
  await page.locator('#home-screen[data-restarting]').waitFor();
  await waitFor(`the home screen as iOS ${next}`, async () => (await screenState())?.os === next, 30000);
  await page.locator('#home-screen:not([data-restarting])').waitFor();
  assert.equal(await page.getByRole('radio', { name: `iOS ${next}` }).getAttribute('aria-checked'), 'true');
});

test('the host stopped, the page says it is disconnected; started again on its port, it is live', async () => {
  const banner = page.locator('#disconnected');
  assert.equal(await banner.isVisible(), false);
  const lastPicture = await shownVersion();
  const end = await stop(settings);
  assert.equal(end.code, 0, settings.output.stderr);
  await banner.waitFor({ state: 'visible' });
  assert.match(await banner.textContent(), /Disconnected/);
  await page.waitForTimeout(5000);
  assert.equal(await banner.isVisible(), true, 'the disconnected state did not last');
  await saveScreenshot('phone-disconnected.png');

  settings = await startSettings(vitrel, device.device, [], settings.port);
  await banner.waitFor({ state: 'hidden', timeout: 20000 });
  await waitFor('a picture from the new springboard', async () => (await shownVersion()) !== lastPicture, 30000);
  const before = await shownVersion();
  await page.getByRole('button', { name: 'Hold Photos (App)' }).click();
  await screenWhere('the Photos menu from the new springboard', (screen) => screen.menu?.name === photos, before);
  await openContextMenuPage();
  run('prefs', 'set', 'dynamicLabelColoring', 'false');
  await waitFor('the switch live again', async () => (await labelSwitch().getAttribute('aria-checked')) === 'false', 5000);
});
