// The home screen's picture, which is the phone's screen: it shows the springboard's latest
// drawing and turns the pointer (mouse, pen or finger) into touches at points of the screen.
import { readScreen } from './connection.js';

// As long as the phone waits before a press becomes a hold.
const holdDelay = 500;
// How far (CSS pixels) a press may wander and still be a hold or a tap, as a finger does.
const slop = 10;

export class Screen {
  // onState(screen) whenever what the screen shows is read (screen.json, or null before the
  // first drawing); onTouch({ action, x, y }) for a hold or a tap, in points.
  constructor(figure, { onState, onTouch }) {
    this.figure = figure;
    this.picture = figure.querySelector('img');
    this.touch = figure.querySelector('.touch');
    this.pressArea = figure.querySelector('.press-area');
    this.status = figure.querySelector('figcaption');
    this.onState = onState;
    this.onTouch = onTouch;
    this.version = null;
    this.state = null;
    this.pressed = null;
    this.listen();
  }

  // Reads what the host has now and shows it; `version` (a picture the host has announced) is
  // fetched at once, beside the read. Calls while one runs fold into one more turn, so a burst
  // of drawings costs at most two reads and the last one is always shown.
  async update(version) {
    if (version) this.announced = version;
    if (this.updating) {
      this.again = true;
      return;
    }
    this.updating = true;
    do {
      this.again = false;
      const announced = this.announced;
      this.announced = null;
      try {
        await this.load(announced);
      } catch {
        // A picture that cannot be read now is followed by the event of the next one.
      }
    } while (this.again);
    this.updating = false;
  }

  // The new picture is decoded before it takes the old one's place, so the screen never blinks.
  // The decoded image itself goes in: the host's answers are not cached, so giving its address
  // to the old element would load it again and show it later.
  async load(announced) {
    const early = announced && announced !== this.version ? decoded(announced) : null;
    // Unused when a newer picture has come meanwhile: its failure then matters to no one.
    early?.catch(() => {});
    const answer = await readScreen();
    if (answer.version && answer.version !== this.version) {
      const next = await (answer.version === announced ? early : decoded(answer.version));
      for (const name of ['id', 'draggable']) next.setAttribute(name, this.picture.getAttribute(name));
      this.picture.replaceWith(next);
      this.picture = next;
      this.version = answer.version;
    }
    this.state = answer.screen ?? null;
    this.picture.alt = describe(this.state);
    if (!answer.version) this.say('Waiting for the home screen…', { lasting: true });
    else if (this.status.dataset.lasting) this.say('');
    this.onState(this.state);
  }

  // A line over the picture: what a touch met, or why the screen does not answer.
  say(message, { lasting = false } = {}) {
    this.status.textContent = message;
    this.status.hidden = !message;
    if (lasting) this.status.dataset.lasting = 'true';
    else delete this.status.dataset.lasting;
    clearTimeout(this.sayTimer);
    if (message && !lasting) this.sayTimer = setTimeout(() => this.say(''), 3000);
  }

  // On the frame, which keeps its listeners while pictures come and go in it.
  listen() {
    const figure = this.figure;
    figure.addEventListener('pointerdown', (event) => this.press(event));
    figure.addEventListener('pointermove', (event) => this.move(event));
    figure.addEventListener('pointerup', (event) => this.release(event));
    figure.addEventListener('pointercancel', () => this.endPress());
    // A long press on a picture would otherwise open the browser's own menu on touch screens.
    figure.addEventListener('contextmenu', (event) => event.preventDefault());
  }

  press(event) {
    if (!event.isPrimary || event.button !== 0 || this.pressed) return;
    const point = this.pointAt(event);
    if (!point) return;
    event.preventDefault();
    this.figure.setPointerCapture(event.pointerId);
    this.pressed = { id: event.pointerId, x: event.clientX, y: event.clientY, point, held: false };
    this.pressed.timer = setTimeout(() => this.hold(), holdDelay);
    this.showPress(event, point);
  }

  hold() {
    this.pressed.held = true;
    this.figure.dataset.press = 'held';
    this.onTouch({ action: 'hold', ...this.pressed.point });
  }

  // Moving far is a drag, which holds nothing and taps nothing.
  move(event) {
    const pressed = this.pressed;
    if (!pressed || event.pointerId !== pressed.id || pressed.held) return;
    if (Math.hypot(event.clientX - pressed.x, event.clientY - pressed.y) > slop) this.endPress();
  }

  // Lifting the finger after a hold leaves its menu open, as on the phone; before, it is a tap.
  release(event) {
    const pressed = this.pressed;
    if (!pressed || event.pointerId !== pressed.id) return;
    this.endPress();
    if (!pressed.held) this.onTouch({ action: 'tap', ...pressed.point });
  }

  endPress() {
    clearTimeout(this.pressed?.timer);
    this.pressed = null;
    delete this.figure.dataset.press;
    this.touch.hidden = true;
    this.pressArea.hidden = true;
  }

  // Where the picture is drawn in the page: it is shown whole and centred in its box.
  drawnBox() {
    const box = this.picture.getBoundingClientRect();
    const { width, height } = this.state;
    const scale = Math.min(box.width / width, box.height / height);
    return { left: box.left + (box.width - width * scale) / 2, top: box.top + (box.height - height * scale) / 2, scale };
  }

  // The pointer's place in points of the screen, or null off the drawn picture or before the
  // screen has said how large it is.
  pointAt(event) {
    if (!this.state?.width || !this.state?.height) return null;
    const { left, top, scale } = this.drawnBox();
    const x = (event.clientX - left) / scale;
    const y = (event.clientY - top) / scale;
    if (x < 0 || y < 0 || x > this.state.width || y > this.state.height) return null;
    const tenth = (value) => Math.round(value * 10) / 10;
    return { x: tenth(x), y: tenth(y) };
  }

  // A soft circle grows under the pointer for as long as a hold takes, and the thing pressed
  // (an icon, a folder, a notification) darkens, as the phone answers a finger at once.
  showPress(event, point) {
    const origin = this.figure.getBoundingClientRect();
    // Positioned children are placed from inside the frame's border.
    const left = (x) => `${x - origin.left - this.figure.clientLeft}px`;
    const top = (y) => `${y - origin.top - this.figure.clientTop}px`;
    Object.assign(this.touch.style, { left: left(event.clientX), top: top(event.clientY) });
    this.touch.hidden = false;
    this.figure.dataset.press = 'down';
    const target = this.state.menu ? null : this.targetAt(point);
    if (!target) return;
    const drawn = this.drawnBox();
    const frame = target.frame;
    Object.assign(this.pressArea.style, {
      left: left(drawn.left + frame.x * drawn.scale),
      top: top(drawn.top + frame.y * drawn.scale),
      width: `${frame.width * drawn.scale}px`,
      height: `${frame.height * drawn.scale}px`,
    });
    this.pressArea.hidden = false;
  }

  targetAt({ x, y }) {
    const targets = this.state.targets ?? [];
    const contains = ({ frame }) => x >= frame.x && y >= frame.y && x <= frame.x + frame.width && y <= frame.y + frame.height;
    return targets.findLast(contains) ?? null;
  }
}

async function decoded(version) {
  const picture = new Image();
  picture.src = `/screen.png?v=${encodeURIComponent(version)}`;
  picture.dataset.version = version;
  await picture.decode();
  return picture;
}

// The picture's text for those who cannot see it: what the screen shows.
function describe(state) {
  if (!state) return 'The home screen, not drawn yet';
  const screen = state.locked ? 'The lock screen' : 'The home screen';
  const menu = state.menu ? `, with the menu of ${state.menu.title || state.menu.name} open` : '';
  return `${screen} of iOS ${state.os} in the ${state.style} style${menu}`;
}
