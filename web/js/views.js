// A view of the page model (a cell, a header, a title view) as positioned DOM elements: each
// view at its frame in its superview, with what its controller and cell set on it.
import { actLikeButton, element } from './dom.js';
import { applyFont, cssColor, objectFit, textAlign } from './style_values.js';
import { symbolGlyph } from './symbols.js';

// `context`: { send(action), tint (the colour system buttons take), label (the row's) }.
export function renderView(node, context) {
  const control = node.control;
  const view = control?.kind === 'button' ? element('button', { attributes: { type: 'button' } }) : element('div');
  view.classList.add('view');
  view.dataset.view = node.id;
  view.dataset.class = node.className;
  placeAt(view, node.frame);
  dress(view, node);
  if (node.text !== null && !node.editable) addText(view, node, context);
  if (node.image) view.append(imageElement(node.image, objectFit(node.contentMode)));
  if (node.editable) view.append(textField(node, context));
  if (node.blurEffectStyle !== null) view.classList.add('blur', `blur-${node.blurEffectStyle}`);
  if (control) addControl(view, node, context);
  else if (node.tappable) actLikeButton(view, () => context.send({ action: 'tap', view: node.id }), node.text ?? context.label);
  const inner = control?.kind === 'button' && control.buttonType === 1 ? { ...context, tint: context.tint ?? node.tintColor, systemButton: true } : context;
  for (const subview of node.subviews) if (!subview.hidden) view.append(renderView(subview, inner));
  return view;
}

export function placeAt(view, frame) {
  Object.assign(view.style, {
    left: `${frame.x}px`,
    top: `${frame.y}px`,
    width: `${frame.width}px`,
    height: `${frame.height}px`,
  });
}

function dress(view, node) {
  const style = view.style;
  if (node.alpha !== 1) style.opacity = String(node.alpha);
  if (node.backgroundColor) style.backgroundColor = cssColor(node.backgroundColor);
  if (node.cornerRadius) style.borderRadius = `${node.cornerRadius}px`;
  if (node.clipsToBounds) style.overflow = 'hidden';
  style.setProperty('--tint', cssColor(node.tintColor));
}

// A label: its text centred vertically in its frame, in its font, colour and alignment, with
// the font runs of an attributed text.
function addText(view, node, context) {
  view.classList.add('label');
  const text = element('span', { className: 'text' });
  if (node.numberOfLines === 1) text.classList.add('single-line');
  applyFont(text.style, node.font);
  const color = context.systemButton ? context.tint : node.textColor;
  if (color) text.style.color = cssColor(color);
  if (node.highlightedTextColor) view.style.setProperty('--highlighted-text', cssColor(node.highlightedTextColor));
  view.style.justifyContent = { left: 'flex-start', center: 'center', right: 'flex-end' }[textAlign(node.textAlignment)];
  text.style.textAlign = textAlign(node.textAlignment);
  appendRuns(text, node.text, node.fontRuns);
  view.append(text);
}

// Font runs are UTF-8 byte ranges; the text is split at those bytes.
function appendRuns(container, text, runs) {
  if (!runs.length) {
    container.textContent = text;
    return;
  }
  const bytes = new TextEncoder().encode(text);
  const decode = (from, to) => new TextDecoder().decode(bytes.slice(from, to));
  let at = 0;
  for (const run of [...runs].sort((a, b) => a.location - b.location)) {
    if (run.location > at) container.append(decode(at, run.location));
    const span = element('span', { text: decode(run.location, run.location + run.length) });
    applyFont(span.style, run.font);
    container.append(span);
    at = run.location + run.length;
  }
  if (at < bytes.length) container.append(decode(at, bytes.length));
}

export function imageElement(image, fit = 'contain') {
  if (image.url?.startsWith('symbol:')) {
    const glyph = element('span', { className: 'image symbol-image' }, [symbolGlyph(image.url.slice(7), Math.min(image.width, image.height) || 20)]);
    return glyph;
  }
  if (!image.url) return element('span', { className: 'image missing-image' });
  const img = element('img', { className: 'image', attributes: { src: image.url, alt: '', draggable: 'false' } });
  img.style.objectFit = fit;
  return img;
}

function textField(node, context) {
  const input = element('input', {
    className: 'text-field',
    attributes: { type: 'text', placeholder: node.placeholder ?? '', 'aria-label': context.label ?? node.placeholder ?? 'Text' },
  });
  input.value = node.text ?? '';
  input.dataset.view = node.id;
  if (node.textColor) input.style.color = cssColor(node.textColor);
  input.addEventListener('change', () => context.send({ action: 'setText', view: node.id, text: input.value }));
  input.addEventListener('keydown', (event) => {
    if (event.key === 'Enter') input.blur();
  });
  return input;
}

function addControl(view, node, context) {
  const control = node.control;
  view.classList.add(`control-${control.kind}`);
  const build = { button: addButton, toggle: addToggle, slider: addSlider, segments: addSegments }[control.kind];
  build(view, node, context);
  if (!control.enabled) view.setAttribute('aria-disabled', 'true');
}

function addButton(view, node, context) {
  const control = node.control;
  if (control.buttonType === 4) {
    view.classList.add('info-button');
    view.setAttribute('aria-label', `More about ${context.label ?? 'this setting'}`);
    view.style.color = cssColor(node.tintColor);
    view.append(symbolGlyph('info.circle', Math.min(node.frame.width, node.frame.height) || 22));
  }
  view.disabled = !control.enabled;
  view.addEventListener('click', (event) => {
    event.stopPropagation();
    context.send({ action: 'tap', view: node.id });
  });
}

function addToggle(view, node, context) {
  const control = node.control;
  const toggle = element('button', {
    className: 'switch',
    attributes: { type: 'button', role: 'switch', 'aria-checked': String(control.on), 'aria-label': context.label ?? 'Switch' },
  });
  toggle.dataset.view = node.id;
  if (control.onTint) toggle.style.setProperty('--on-tint', cssColor(control.onTint));
  if (control.thumbTint) toggle.style.setProperty('--thumb-tint', cssColor(control.thumbTint));
  toggle.append(element('span', { className: 'thumb' }));
  toggle.disabled = !control.enabled;
  toggle.addEventListener('click', (event) => {
    event.stopPropagation();
    context.send({ action: 'setSwitch', view: node.id, on: !control.on });
  });
  view.append(toggle);
}

function addSlider(view, node, context) {
  const control = node.control;
  const slider = element('input', {
    className: 'slider',
    attributes: { type: 'range', min: control.minimum, max: control.maximum, step: 'any', 'aria-label': context.label ?? 'Value' },
  });
  slider.value = String(control.value);
  slider.dataset.view = node.id;
  slider.disabled = !control.enabled;
  const fill = control.minimumTrackTint ?? node.tintColor;
  slider.style.setProperty('--track-fill', cssColor(fill));
  const showFill = () => {
    const share = (Number(slider.value) - control.minimum) / ((control.maximum - control.minimum) || 1);
    slider.style.setProperty('--fill', `${Math.max(0, Math.min(1, share)) * 100}%`);
  };
  showFill();
  slider.addEventListener('input', () => {
    showFill();
    context.send({ action: 'setSlider', view: node.id, value: Number(slider.value) }, { coalesce: node.id });
  });
  view.append(slider);
}

// Segments are radios: one stop in the Tab order (the selected one, else the first); the
// arrow keys, Home and End move among them and select as they move.
const segmentKeys = { ArrowRight: 1, ArrowDown: 1, ArrowLeft: -1, ArrowUp: -1 };

// The segment a key moves to from `index` (the arrows wrap), or null for other keys.
function segmentAfterKey(key, index, count) {
  if (key === 'Home') return 0;
  if (key === 'End') return count - 1;
  const step = segmentKeys[key];
  return step === undefined ? null : (index + step + count) % count;
}

function addSegments(view, node, context) {
  const control = node.control;
  const group = element('div', { className: 'segments', attributes: { role: 'radiogroup', 'aria-label': context.label ?? 'Choice' } });
  const select = (index) => {
    if (index !== control.selectedIndex) context.send({ action: 'selectSegment', view: node.id, index });
  };
  const buttons = control.segments.map((segment, index) => {
    const selected = index === control.selectedIndex;
    const button = element('button', {
      className: 'segment',
      attributes: { type: 'button', role: 'radio', 'aria-checked': String(selected), 'aria-label': segment.title },
    });
    button.dataset.view = `${node.id}#${index}`;
    button.tabIndex = index === Math.max(0, control.selectedIndex) ? 0 : -1;
    if (segment.image) button.append(imageElement(segment.image));
    else button.textContent = segment.title;
    button.disabled = !control.enabled;
    button.addEventListener('click', (event) => {
      event.stopPropagation();
      select(index);
    });
    return button;
  });
  moveAmongSegments(buttons, select);
  group.append(...buttons);
  view.append(group);
}

// The keys of a row of segments: each moves the one stop in the Tab order and selects as it goes.
export function moveAmongSegments(buttons, select) {
  buttons.forEach((button, index) => {
    button.addEventListener('keydown', (event) => {
      const next = segmentAfterKey(event.key, index, buttons.length);
      if (next === null || event.altKey || event.ctrlKey || event.metaKey) return;
      event.preventDefault();
      event.stopPropagation();
      buttons.forEach((other, at) => (other.tabIndex = at === next ? 0 : -1));
      buttons[next].focus();
      select(next);
    });
  });
}
