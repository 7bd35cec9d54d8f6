// `vitrel settings` in a real browser: the bundle's pages drawn from its page model, changes
// written to the device and heard by another process and the springboard, the cells' own
// behaviour (typed values, info messages, dependent rows, sheets), the page tint, the section
// headers, the banner's version from the device's package database, and a respring that
// restarts this device's springboard only.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { after, before, test } from 'node:test';
import { launchBrowser } from './browser.mjs';
import { makeDevice, reloadNotification, start, startSettings, stop, waitFor } from './support.mjs';

const vitrel = process.env.VITREL;
const screenshots = process.env.VITREL_SCREENSHOTS;
const fixture = new URL('./fixtures/Root.plist', import.meta.url).pathname;

let device, settings, browser, page;

const run = (...args) => execFileSync(vitrel, ['--device', device.device, ...args], { encoding: 'utf8' }).trim();
const setting = (key) => run('prefs', 'get', key);
const screenFile = () => join(device.device, 'var/mobile/Library/Caches/vitrel/screen.png');
// The SpringBoard processes of a device (other devices may run their own).
const springboardPidsOf = (folder) => {
  let pids = [];
  try {
    pids = execFileSync('pgrep', ['-x', 'SpringBoard'], { encoding: 'utf8' }).trim().split('\n');
  } catch {
    return [];
  }
  const ofThisDevice = (pid) => {
    try {
      return readFileSync(`/proc/${pid}/cmdline`, 'utf8').split('\0').includes(folder);
    } catch {
      return false;
    }
  };
  return pids.filter((pid) => pid && ofThisDevice(pid));
};
const springboardPids = () => springboardPidsOf(device.device);

const row = (label) => page.locator(`.row[data-label="${label}"]`);
const screenVersion = () => page.locator('#screen').getAttribute('data-version');
// Every action answered and drawn.
const settled = () => page.waitForFunction(() => document.body.dataset.idle !== 'false');

async function openRoot() {
  for (;;) {
    const controller = await page.locator('.list').getAttribute('data-controller');
    if (controller === 'MirraRootListController') return;
    if (controller === 'PSListController') await row('Vitrel').click();
    else await page.locator('.back-button').click();
    await settled();
  }
}

async function openPage(label) {
  await openRoot();
  await row(label).click();
  await page.waitForSelector(`.navigation-title h1:text-is("${label}")`);
}

async function toggle(label) {
  const before = await row(label).locator('[role=switch]').getAttribute('aria-checked');
  await row(label).locator('[role=switch]').click();
  await settled();
  const after = await row(label).locator('[role=switch]').getAttribute('aria-checked');
  assert.notEqual(after, before, `${label} did not change`);
  return after === 'true';
}

async function saveScreenshot(name) {
  if (!screenshots) return;
  mkdirSync(screenshots, { recursive: true });
  await page.screenshot({ path: join(screenshots, name) });
}

before(async () => {
  device = makeDevice(process.env.VITREL_BUNDLE_RESOURCES, [fixture]);
  settings = await startSettings(vitrel, device.device, ['--resources', device.resources]);
  browser = await launchBrowser();
  page = await browser.newPage({ viewport: { width: 1040, height: 940 } });
  page.on('pageerror', (error) => assert.fail(`the page threw: ${error.message}`));
  await page.goto(settings.url);
  await row('Enabled').waitFor();
  await waitFor('the first picture of the home screen', screenVersion, 30000);
});

after(async () => {
  await browser?.close();
  if (settings) {
    const end = await stop(settings);
    assert.equal(end.code, 0, `vitrel settings ended with ${JSON.stringify(end)}: ${settings.output.stderr}`);
  }
  assert.deepEqual(springboardPids(), [], 'the springboard outlived the settings host');
  device?.remove();
});

test('the root page shows what its controller and cells set', async () => {
  await openRoot();
  assert.equal(await page.locator('.navigation-title [data-class=UIButton]').textContent(), 'Respring');
  const tint = await page.locator('.navigation-bar').evaluate((bar) => bar.style.getPropertyValue('--bar-tint'));
  assert.equal(tint, 'rgba(128, 77, 140, 1)');
  assert.equal(await row('Context Menu').locator('.text').evaluate((text) => getComputedStyle(text).color), 'rgb(179, 153, 204)');
  assert.match(await page.locator('.table-header img').getAttribute('src'), /^\/bundle\/Assets\/1\.png$/);
  const banner = page.locator('.row[data-cell-class=MirraHeader]');
  assert.equal(await banner.evaluate((node) => node.getBoundingClientRect().height), 100);
  await saveScreenshot('settings-root.png');
});

test("the banner shows the version that the device's package database holds", async () => {
  await openRoot();
  const banner = page.locator('.row[data-cell-class=MirraHeader]');
  // The label changes after the page has loaded, from the query's background thread.
  await waitFor('the version in the banner', async () => {
    await page.reload();
    await row('Enabled').waitFor();
    return /^Version 1\.\d+\s*$/.test(await banner.locator('.text').last().textContent());
  }, 20000, 250);
  await saveScreenshot('settings-banner.png');
  // The query ran the device's package tool, so this machine's said nothing.
  assert.doesNotMatch(settings.output.stderr, /dpkg|package/);
});

test('section 7 gets an empty header 40 points high', async () => {
  await openRoot();
  const header = page.locator('[data-section-header="7"]');
  assert.equal(await header.evaluate((node) => node.getBoundingClientRect().height), 40);
  assert.equal((await header.textContent()).trim(), '');
  assert.equal(await header.locator('[data-class=UILabel]').count(), 1);
});

test('a switch writes the settings file and the reload is heard once by another process', async () => {
  await openRoot();
  const watcher = start(vitrel, ['--device', device.device, 'notify', 'watch', reloadNotification, '--timeout', '3']);
  await waitFor('the watcher', () => watcher.output.stderr.includes('watching'));
  const on = await toggle('Enabled');
  assert.equal(setting('enabled'), String(on));
  await watcher.ended;
  assert.equal(watcher.output.stdout.match(/received/g)?.length, 1, watcher.output.stdout);
  assert.equal(await toggle('Enabled'), !on);
  assert.equal(setting('enabled'), String(!on));
});

test('a change the settings file cannot take says so and leaves the switch as stored', async () => {
  await openRoot();
  const file = join(device.device, 'var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist');
  const stored = readFileSync(file);
  const control = row('Enabled').locator('[role=switch]');
  writeFileSync(file, 'not a property list');
  try {
    const shown = [];
    for (let click = 0; click < 2; click++) {
      await control.click();
      await settled();
      shown.push(await control.getAttribute('aria-checked'));
    }
    assert.equal(shown[0], shown[1], 'the switch followed a click that was not saved');
    await page.locator('#toast').waitFor({ state: 'visible' });
    assert.match(await page.locator('#toast').textContent(), /^Not saved: the settings file cannot be read/);
    await saveScreenshot('settings-not-saved.png');
  } finally {
    writeFileSync(file, stored);
  }
  // Saved again once the file can be read; left on, as the next test needs.
  const on = await toggle('Enabled');
  assert.equal(setting('enabled'), String(on));
  if (!on) await toggle('Enabled');
});

test('the springboard applies a change and the live picture follows', async () => {
  assert.equal(setting('enabled'), 'true', 'the library must be on to show a change');
  await openPage('Context Menu');
  const label = 'Dynamic Label Colouring (HS)';
  // Styling is never undone on a menu already shown, so the change to see is turning it on.
  if (setting('dynamicLabelColoring') === 'true') await toggle(label);
  const home = await screenVersion();
  run('springboard', '--press', 'com.vitrel.sample.photos');
  await waitFor('the pressed menu in the picture', async () => (await screenVersion()) !== home);
  const picture = readFileSync(screenFile());
  assert.equal(await toggle(label), true);
  assert.equal(setting('dynamicLabelColoring'), 'true');
  await waitFor('the springboard to draw the change', () => !readFileSync(screenFile()).equals(picture), 5000);
  const drawn = Date.now();
  const served = async () => (await (await fetch(new URL('/api/screen', settings.url))).json()).version;
  await waitFor('the browser to show the new picture', async () => (await screenVersion()) === (await served()), 1000);
  console.log(`the browser showed the new picture ${Date.now() - drawn} ms after it was drawn`);
  await saveScreenshot('settings-subpage.png');
});

test('leaving the root page resets the bar tint', async () => {
  await openRoot();
  await page.locator('.back-button').click();
  await page.waitForSelector('.list[data-controller=PSListController]');
  const tint = await page.locator('.navigation-bar').evaluate((bar) => bar.style.getPropertyValue('--bar-tint'));
  assert.equal(tint, 'rgba(0, 199, 199, 1)');
  await row('Vitrel').click();
  await page.waitForSelector('.list[data-controller=MirraRootListController]');
});

test('Enter Value above the maximum stores the maximum, one decimal shown and two typed', async () => {
  await openPage('Background & Border');
  const slider = row('Border Thickness (HS)');
  const valueLabel = slider.locator('.label[role=button]');
  assert.match(await valueLabel.textContent(), /^\d+\.\d$/);
  const maximum = Number(await slider.locator('input[type=range]').getAttribute('max'));
  await valueLabel.click();
  const alert = page.locator('.alert');
  await alert.waitFor();
  assert.equal(await alert.locator('.alert-title').textContent(), 'Enter Value');
  const field = alert.locator('input');
  assert.match(await field.inputValue(), /^\d+\.\d\d$/);
  await field.fill(String(maximum * 10 + 1));
  await alert.locator('.alert-action', { hasText: 'Set' }).click();
  await settled();
  await alert.waitFor({ state: 'detached' });
  assert.equal(Number(setting('borderThicknessHS')), maximum);
  assert.equal(await valueLabel.textContent(), maximum.toFixed(1));
  assert.equal(Number(await slider.locator('input[type=range]').inputValue()), maximum);
});

test('an info message with "\\n" shows a line break', async () => {
  await openRoot();
  await row('Enabled').locator('.info-button').click();
  const message = page.locator('.alert .alert-message');
  await message.waitFor();
  const text = await message.textContent();
  assert.ok(text.includes('\n') && !text.includes('\\n'), JSON.stringify(text));
  const lines = await message.evaluate((node) => node.getClientRects().length || node.innerText.split('\n').length);
  assert.ok((await message.evaluate((node) => node.innerText)).split('\n').length >= 2, `${lines}`);
  await page.keyboard.press('Escape');
  await page.locator('.alert').waitFor({ state: 'detached' });
});

test('a row that depends on a setting is hidden and shown by updateSpecifiers', async () => {
  await openRoot();
  assert.equal(await row('Extra Option').count(), 0);
  if (!(await toggle('Show Extra'))) await toggle('Show Extra');
  assert.equal(await row('Extra Option').count(), 0, 'a write alone must not show it');
  await row('Update Page').click();
  await row('Extra Option').waitFor();
  await toggle('Show Extra');
  await row('Update Page').click();
  await row('Extra Option').waitFor({ state: 'detached' });
});

test('sheets presented again keep their items, and open and close from the keyboard', async () => {
  await openRoot();
  for (const [label, title, items] of [["What's New", 'Changelog', 1], ['Features & Explanations', 'Inital Release', 2]]) {
    for (let time = 0; time < 2; time += 1) {
      await row(label).focus();
      await page.keyboard.press('Enter');
      const sheet = page.locator('.sheet');
      await sheet.waitFor();
      assert.equal(await sheet.locator('.sheet-title').textContent(), title);
      assert.equal(await sheet.locator('.sheet-item').count(), items);
      await page.keyboard.press('Escape');
      await sheet.waitFor({ state: 'detached' });
    }
  }
});

// The bundle's pages, each with the label of the row that opens it (the root page: null).
const pages = [null, 'Context Menu', 'Background & Border', 'Separators (Home Screen)', 'Separators (Lock Screen)', 'Expanded Notifications'];

async function visit(label) {
  if (label) await openPage(label);
  else await openRoot();
}

// The menu's actions when the springboard presses Photos, as the library leaves them.
const photosMenu = () => JSON.parse(run('preview', '--press', 'com.vitrel.sample.photos', '--light', '--dump', '-')).actions;

test('every control says what it sets: segments under a header naming them, sliders captioned with their value', async () => {
  let groups = 0;
  for (const label of pages) {
    await visit(label);
    for (const group of await page.locator('#settings [role=radiogroup]').all()) {
      groups += 1;
      const header = await group.evaluate((node) => node.closest('.section').querySelector('.section-header').textContent.trim());
      assert.equal(header, await group.getAttribute('aria-label'), `${label}: the segments' header`);
    }
    for (const slider of await page.locator('.row:has(input[type=range])').all()) {
      const name = await slider.getAttribute('data-label');
      const texts = await slider.locator('.label:visible .text').allTextContents();
      assert.ok(texts.includes(name), `${label}: ${name} has no caption (${texts})`);
      assert.ok(texts.some((text) => /^\d+\.\d$/.test(text)), `${label}: ${name} shows no value (${texts})`);
    }
  }
  assert.equal(groups, 2);
});

test('titles show whole and clear of the information button; the labelled slider centres its caption', async () => {
  let titles = 0;
  for (const label of pages) {
    await visit(label);
    const { checked, problems } = await page.evaluate(() => {
      const rect = (node) => node.getBoundingClientRect();
      const centre = (box) => box.left + box.width / 2;
      const found = [];
      let seen = 0;
      for (const row of document.querySelectorAll('.row')) {
        const name = row.dataset.label;
        const title = [...row.querySelectorAll('.label .text')].find((text) => text.textContent === name);
        if (!name || !title) continue;
        seen += 1;
        if (title.scrollWidth > title.clientWidth + 0.5) found.push(`"${name}" is cut`);
        const info = row.querySelector('.info-button');
        if (info && rect(title).right > rect(info).left) found.push(`"${name}" runs under its information button`);
        const slider = row.querySelector('input[type=range]');
        if (!slider) continue;
        if (Math.abs(centre(rect(title.parentElement)) - centre(rect(row))) > 1) found.push(`"${name}" is not centred`);
        if (rect(slider).width < rect(row).width * 0.75) found.push(`"${name}": the slider does not fill its row`);
      }
      return { checked: seen, problems: found };
    });
    assert.deepEqual(problems, [], label ?? 'the root page');
    titles += checked;
  }
  assert.ok(titles > 30, `only ${titles} titles seen`);
});

test('the ";" hint stands under the Actions group, and its example removes those actions', async () => {
  assert.equal(setting('enabled'), 'true', 'the library must be on to remove actions');
  await openPage('Context Menu');
  const hinted = page.locator('.section', { has: page.locator('.footer', { hasText: ';' }) });
  assert.equal(await hinted.count(), 1);
  assert.equal(await hinted.locator('.row').getAttribute('data-label'), 'Titles to Remove');
  const example = (await hinted.locator('.footer').textContent()).match(/for example ([^)]+)\)/)[1];
  const titles = example.split(';');
  assert.ok(titles.length > 1, example);
  const field = row('Titles to Remove').locator('input');
  await field.fill('');
  await field.press('Enter');
  await settled();
  const offered = photosMenu();
  for (const title of titles) assert.ok(offered.includes(title), `the sample menu lacks "${title}": ${offered}`);
  await field.fill(example);
  await field.press('Enter');
  await settled();
  assert.equal(setting('titlesToRemove'), example);
  assert.deepEqual(photosMenu(), offered.filter((title) => !titles.includes(title)));
  const colour = (pseudo) => field.evaluate((input, which) => getComputedStyle(input, which).color, pseudo);
  assert.equal(await colour(null), 'rgb(0, 0, 0)', 'a stored value is text, not a placeholder');
  assert.notEqual(await colour('::placeholder'), 'rgb(0, 0, 0)');
  await field.fill('');
  await field.press('Enter');
  await settled();
});

test('arrow keys move among segments and select as they go; Enter on a link row starts the new page at its heading', async () => {
  await openRoot();
  await row('Context Menu').focus();
  await page.keyboard.press('Enter');
  await page.waitForSelector('.navigation-title h1:text-is("Context Menu")');
  await settled();
  assert.deepEqual(await page.evaluate(() => [document.activeElement.tagName, document.activeElement.textContent]), ['H1', 'Context Menu']);
  const values = ['dominantColor', 'colorMethodTavrel'];
  const radios = row('Icon Colour (Home Screen)').locator('[role=radio]');
  const state = () => radios.evaluateAll((nodes) => nodes.map((node) => [node.getAttribute('aria-checked'), node.tabIndex, node === document.activeElement]));
  await radios.first().click();
  await settled();
  assert.deepEqual(await state(), [['true', 0, true], ['false', -1, false]], 'one stop in the Tab order: the selected segment');
  for (const [key, index] of [['ArrowRight', 1], ['ArrowRight', 0], ['End', 1], ['Home', 0], ['ArrowUp', 1], ['ArrowDown', 0], ['ArrowLeft', 1]]) {
    await page.keyboard.press(key);
    await settled();
    const expected = [0, 1].map((at) => [String(at === index), at === index ? 0 : -1, at === index]);
    assert.deepEqual(await state(), expected, key);
    assert.equal(setting('colorMethodTavrelHS'), values[index], key);
  }
});

test('in the dark style the page is dark and dynamic colours take their dark values', async () => {
  await openPage('Context Menu');
  const title = row('Titles to Remove').locator('.label .text').first();
  const colours = async () => [
    await title.evaluate((node) => getComputedStyle(node).color),
    await row('Titles to Remove').evaluate((node) => getComputedStyle(node).backgroundColor),
  ];
  assert.deepEqual(await colours(), ['rgb(0, 0, 0)', 'rgb(255, 255, 255)']);
  await page.emulateMedia({ colorScheme: 'dark' });
  try {
    await waitFor('the page drawn dark', async () => (await colours())[0] === 'rgb(255, 255, 255)');
    assert.deepEqual(await colours(), ['rgb(255, 255, 255)', 'rgb(28, 28, 30)']);
    await saveScreenshot('settings-subpage-dark.png');
  } finally {
    await page.emulateMedia({ colorScheme: 'light' });
  }
  await waitFor('the page drawn light again', async () => (await colours())[0] === 'rgb(0, 0, 0)');
});

test("respring restarts this device's springboard, which draws afresh, and no other", async () => {
  const other = makeDevice(process.env.VITREL_BUNDLE_RESOURCES);
  const neighbour = start(vitrel, ['--device', other.device, 'springboard', '--supervise', '--scale', '1']);
  try {
    const [theirs] = await waitFor("the other device's springboard", () => springboardPidsOf(other.device).length && springboardPidsOf(other.device), 30000);
    await openRoot();
    const [old] = springboardPids();
    assert.ok(old, 'no springboard runs');
    const before = await screenVersion();
    await row('Respring').click();
    await waitFor('a new SpringBoard', () => springboardPids().some((pid) => pid !== old), 20000);
    await waitFor('a fresh picture', async () => (await screenVersion()) !== before, 20000);
    await row('Enabled').waitFor();
    assert.deepEqual(springboardPidsOf(other.device), [theirs], "the other device's springboard was ended");
  } finally {
    await stop(neighbour);
    other.remove();
  }
});
