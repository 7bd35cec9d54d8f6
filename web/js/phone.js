// The phone's own controls beside its screen, drawn as the Settings app draws its rows: the
// lock, the interface style and the system version, and every pressable thing on the screen
// as a button, so that the keyboard reaches all that the pointer does.
import { element } from './dom.js';
import { moveAmongSegments } from './views.js';

const kindNames = { app: 'App', folder: 'Folder', webclip: 'Web Clip', notification: 'Notification' };
const systems = [15, 16, 17];
// A springboard that has not come back as the system asked for by then is not coming.
const restartLimit = 30000;

export class PhoneControls {
  // act(action) sends a touch or a change to the springboard and resolves to its answer;
  // say(message) tells the user what came of it.
  constructor(panel, { act, say, figure }) {
    this.panel = panel;
    this.act = act;
    this.say = say;
    this.figure = figure;
    this.state = null;
    this.drawn = null;
    this.restarting = null;
    // Escape anywhere but in the Settings pages, which close their own dialogs with it.
    document.addEventListener('keydown', (event) => {
      if (event.key !== 'Escape' || event.defaultPrevented || !this.state?.menu || event.target.closest?.('#settings')) return;
      event.preventDefault();
      this.dismiss();
    });
  }

  show(state) {
    this.state = state;
    if (this.restarting && state?.os === this.restarting.version) this.endRestart();
    this.draw();
  }

  // Drawn again only when something shown changed, so focus and hover are left alone by the
  // pictures that only change pixels.
  draw() {
    const drawing = JSON.stringify([this.state, this.restarting?.version]);
    if (drawing === this.drawn) return;
    this.drawn = drawing;
    const focused = this.panel.contains(document.activeElement) ? document.activeElement.dataset.control : null;
    this.panel.replaceChildren(...this.phoneGroups(), this.targetGroup());
    if (focused) this.refocus(focused);
  }

  // Back to the same control; a target no longer on the screen leaves focus on the first one.
  refocus(id) {
    const same = [...this.panel.querySelectorAll('[data-control]')].find((node) => node.dataset.control === id);
    (same ?? this.panel.querySelector('.target') ?? this.panel.querySelector('[tabindex="0"]'))?.focus();
  }

  // The lock, the interface style and the system, each in a group of its own as Settings
  // groups a switch and its segmented choices.
  phoneGroups() {
    const state = this.state;
    const unknown = !state;
    const lock = toggle('lock', 'Locked', Boolean(state?.locked), unknown, (on) => this.act({ action: on ? 'lock' : 'unlock' }));
    const styles = [{ value: 'light', title: 'Light' }, { value: 'dark', title: 'Dark' }];
    const style = segmented('style', 'Appearance', styles, state?.style, unknown, (value) => this.act({ action: 'style', style: value }));
    const versions = systems.map((version) => ({ value: version, title: `iOS ${version}` }));
    const shownSystem = this.restarting?.version ?? state?.os;
    const locked = unknown || Boolean(this.restarting) || state.supervised === false;
    const system = segmented('system', 'System', versions, shownSystem, locked, (version) => this.restart(version));
    let footer = 'The home screen restarts as the system chosen.';
    if (this.restarting) footer = `Restarting as iOS ${this.restarting.version}…`;
    else if (state?.supervised === false) footer = 'Only a home screen that vitrel settings started can restart as another system.';
    return [
      group('Lock Screen', [row('Locked', lock)]),
      group('Appearance', [row(null, style)]),
      group('System', [row(null, system)], footer, { busy: Boolean(this.restarting) }),
    ];
  }

  targetGroup() {
    const state = this.state;
    const rows = [];
    if (state?.menu) rows.push(this.dismissRow(state.menu));
    for (const target of state?.targets ?? []) rows.push(this.targetRow(target));
    const footer = state?.targets?.length
      ? 'Enter holds what is chosen and Escape closes its menu. On the picture: press and hold, and click beside a menu to close it.'
      : 'Nothing on the screen can be held yet.';
    return group('Hold on the Screen', rows, footer);
  }

  targetRow(target) {
    const title = target.title || target.name;
    const kind = kindNames[target.kind] ?? target.kind;
    const button = element('button', {
      className: 'control-row target',
      attributes: { type: 'button', 'aria-label': `Hold ${title} (${kind})`, 'data-control': `${target.kind}:${target.name}` },
    }, [element('span', { className: 'control-label', text: title }), element('span', { className: 'control-detail', text: kind })]);
    button.addEventListener('click', () => this.hold(target));
    return button;
  }

  dismissRow(menu) {
    const button = element('button', {
      className: 'control-row dismiss',
      attributes: { type: 'button', 'aria-label': `Close Menu (${menu.title || menu.name})`, 'aria-keyshortcuts': 'Escape', 'data-control': 'dismiss' },
    }, [element('span', { className: 'control-label', text: 'Close Menu' }), element('kbd', { className: 'control-detail', text: 'Esc' })]);
    button.addEventListener('click', () => this.dismiss());
    return button;
  }

  // A hold where a menu is open would land on the menu, so it is closed first, as a person
  // would tap it away before pressing something else.
  async hold(target) {
    if (this.state?.menu) await this.dismiss();
    const { x, y, width, height } = target.frame;
    return this.act({ action: 'hold', x: x + width / 2, y: y + height / 2 });
  }

  dismiss() {
    return this.act({ action: 'tap', ...awayFromMenu(this.state) });
  }

  async restart(version) {
    if (this.restarting || version === this.state?.os) return;
    const timer = setTimeout(() => this.endRestart(`The home screen did not come back as iOS ${version}.`), restartLimit);
    this.restarting = { version, timer };
    this.figure.dataset.restarting = `Restarting as iOS ${version}…`;
    this.draw();
    const answer = await this.act({ action: 'system', version });
    if (answer.error && this.restarting?.version === version) this.endRestart(answer.error);
  }

  endRestart(message) {
    clearTimeout(this.restarting?.timer);
    this.restarting = null;
    delete this.figure.dataset.restarting;
    this.draw();
    if (message) this.say(message);
  }
}

// A corner of the screen diagonally away from the icon or notification whose menu is open:
// outside the menu, which opens beside what was held.
function awayFromMenu(state) {
  const margin = 6;
  const held = state.targets?.find((target) => target.kind === state.menu.kind && target.name === state.menu.name);
  const centre = held ? { x: held.frame.x + held.frame.width / 2, y: held.frame.y + held.frame.height / 2 } : { x: 0, y: 0 };
  return {
    x: centre.x < state.width / 2 ? state.width - margin : margin,
    y: centre.y < state.height / 2 ? state.height - margin : margin,
  };
}

function group(title, rows, footer, { busy = false } = {}) {
  return element('section', { className: 'phone-group' }, [
    element('h2', { className: 'group-label', text: title }),
    rows.length ? element('div', { className: 'card' }, rows) : null,
    footer ? element('p', { className: 'footer', attributes: { 'aria-live': 'polite', 'aria-busy': busy ? 'true' : undefined }, text: footer }) : null,
  ]);
}

// A row with its control at the end; a control without a label fills the row.
function row(label, control) {
  const caption = label ? element('span', { className: 'control-label', attributes: { 'aria-hidden': 'true' }, text: label }) : null;
  return element('div', { className: 'control-row' }, [caption, control]);
}

function toggle(id, label, on, disabled, change) {
  const button = element('button', {
    className: 'switch',
    attributes: { type: 'button', role: 'switch', 'aria-checked': String(on), 'aria-label': label, 'data-control': id },
  }, [element('span', { className: 'thumb' })]);
  button.disabled = disabled;
  button.addEventListener('click', () => change(!on));
  return button;
}

// Radios, as the page's segmented controls are: one stop in the Tab order, the arrows move and
// choose. A locked group keeps its focus (aria-disabled) so the keyboard is not thrown out of it.
function segmented(id, label, choices, selected, locked, choose) {
  const radios = element('div', { className: 'segments', attributes: { role: 'radiogroup', 'aria-label': label, 'aria-disabled': locked ? 'true' : undefined } });
  const chosen = Math.max(0, choices.findIndex((choice) => choice.value === selected));
  const pick = (index) => {
    if (!locked && choices[index].value !== selected) choose(choices[index].value);
  };
  const buttons = choices.map((choice, index) => {
    const button = element('button', {
      className: 'segment',
      attributes: { type: 'button', role: 'radio', 'aria-checked': String(choice.value === selected), 'data-control': `${id}:${choice.value}` },
      text: choice.title,
    });
    button.tabIndex = index === chosen ? 0 : -1;
    button.addEventListener('click', () => pick(index));
    return button;
  });
  moveAmongSegments(buttons, pick);
  radios.append(...buttons);
  return radios;
}
