// The settings page client: draws what the Settings host's page model says, sends what the
// user does, and keeps the phone beside it: its live screen, which takes touches, and its
// controls. The host pushes every change, so both stay current without asking.
import { Connection, sendToScreen } from './connection.js';
import { renderAlert, renderSheet } from './dialogs.js';
import { element } from './dom.js';
import { listenForChanges } from './events.js';
import { renderContent, renderNavigationBar } from './page.js';
import { PhoneControls } from './phone.js';
import { Screen } from './screen.js';
import { darkScheme } from './style_values.js';

const phone = document.querySelector('#settings');
const toast = document.querySelector('#toast');
let shownPage = null;

function showError(message) {
  toast.textContent = message;
  toast.hidden = false;
  clearTimeout(showError.timer);
  showError.timer = setTimeout(() => (toast.hidden = true), 4000);
}

const connection = new Connection({ onPage: show, onError: showError });
const send = (action, options) => {
  document.body.dataset.idle = 'false';
  connection.send(action, options);
};

// Focus stays on the same control in the new drawing. A slider being dragged or a field being
// typed in is carried over itself, so it stays under the user's hand; their handlers hold no
// state of the old page. After a refused change it takes the page's value, which is the stored
// one, not the one the user gave.
function carryOverFocus(tree, refused) {
  const active = document.activeElement;
  const id = active?.dataset?.view;
  if (!id || !phone.contains(active)) return null;
  const twin = [...tree.querySelectorAll('[data-view]')].find((node) => node.dataset.view === id && node.tagName === active.tagName);
  if (!twin || active.tagName !== 'INPUT') return twin ?? null;
  if (refused) active.value = twin.value;
  if (active.type === 'range') {
    if (!active.matches(':active')) active.value = twin.value;
    active.setAttribute('style', twin.getAttribute('style') ?? '');
  }
  twin.replaceWith(active);
  return active;
}

// A new page is entered at its first heading (a focus stop for this purpose only), else its
// first control, so keyboard and screen-reader users start reading it from the top.
function focusPageStart(bar, list) {
  const heading = list.querySelector('h1') ?? bar.querySelector('h1');
  const start = heading ?? list.querySelector('[tabindex="0"], button, input');
  if (!start) return;
  if (start === heading) start.tabIndex = -1;
  start.focus({ preventScroll: true });
}

function show(page, { refused = false } = {}) {
  const samePage = shownPage && shownPage.depth === page.depth && shownPage.controllerClass === page.controllerClass;
  const oldList = phone.querySelector('.list');
  const scroll = samePage && oldList ? oldList.scrollTop : 0;
  const bar = renderNavigationBar(page, send);
  const list = renderContent(page, send);
  const keep = carryOverFocus(element('div', {}, [bar, list]), refused);
  const layers = [];
  if (page.alert) layers.push(renderAlert(page.alert, send));
  if (page.sheet) layers.push(renderSheet(page.sheet, send));
  const hadDialog = Boolean(phone.querySelector('.modal-layer'));
  phone.replaceChildren(bar, list, ...layers);
  list.scrollTop = scroll;
  phone.inert = false;
  bar.inert = list.inert = layers.length > 0;
  // A dialog drawn anew (a re-read while it is open) takes the focus its old one had, or the
  // keyboard, Escape included, would reach nothing.
  if (layers.length && (!hadDialog || !layers.some((layer) => layer.contains(document.activeElement)))) layers[layers.length - 1].focusFirst();
  else if (!layers.length && hadDialog) (list.querySelector('[tabindex], button, input') ?? bar.querySelector('button'))?.focus();
  else if (shownPage && !samePage) focusPageStart(bar, list);
  else keep?.focus();
  shownPage = page;
  document.title = `${page.title} — Settings`;
  document.body.dataset.page = page.controllerClass;
}

document.addEventListener('keydown', (event) => {
  if (event.altKey && event.key === 'ArrowLeft' && shownPage?.canGoBack && !shownPage.alert && !shownPage.sheet) {
    send({ action: 'back' });
  }
});

darkScheme.addEventListener('change', () => shownPage && show(shownPage));

// Touches and changes reach the springboard one at a time, in the order they were made. A touch
// that met nothing says why (a tap on an icon, for one, tells that a hold opens its menu).
let screenActions = Promise.resolve();
function act(action) {
  const answer = screenActions.then(() => sendToScreen(action));
  screenActions = answer.then((reply) => {
    if (reply.error) phoneScreen.say(reply.error);
    else if (reply.done === false) phoneScreen.say(reply.message);
  });
  return answer;
}

const figure = document.querySelector('#home-screen');
const phoneScreen = new Screen(figure, { onState: (state) => controls.show(state), onTouch: act });
const say = (message) => phoneScreen.say(message);
const controls = new PhoneControls(document.querySelector('#phone-controls'), { act, say, figure });

// Without the host nothing on the page can act, so it says so until the host is back.
function showConnected(live) {
  document.querySelector('#disconnected').hidden = live;
  document.querySelector('main').inert = !live;
  document.body.dataset.connection = live ? 'live' : 'lost';
}

listenForChanges({
  hello: ({ screen }) => {
    showConnected(true);
    phoneScreen.update(screen);
    connection.refresh();
  },
  screen: ({ version }) => phoneScreen.update(version),
  settings: () => connection.refresh(),
  // A tab's own action brings its page in the answer; another tab's is read here, and so is
  // what the page's own background work changed.
  page: ({ key, changed }) => {
    if (changed || key !== connection.key || !connection.idle) connection.refresh();
  },
  lost: () => showConnected(false),
});
phoneScreen.update();
connection.load().catch((error) => showError(`cannot reach the settings host (${error.message})`));
