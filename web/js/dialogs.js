// What a page presents over itself: an alert (title, message, text fields, actions) or a
// welcome sheet (icon, title, detail text, bulleted items). Both are modal: focus stays in
// them, Escape closes them.
import { element } from './dom.js';
import { cssColor } from './style_values.js';
import { imageElement } from './views.js';

const cancelStyle = 1;
const destructiveStyle = 2;
const decimalPad = 8;

export function renderAlert(alert, send) {
  const fields = alert.fields.map((field, index) => {
    const input = element('input', {
      className: 'alert-field',
      attributes: {
        type: 'text',
        placeholder: field.placeholder,
        inputmode: field.keyboardType === decimalPad ? 'decimal' : undefined,
        'aria-label': field.placeholder || `Field ${index + 1}`,
      },
    });
    input.value = field.text;
    if (field.textColor) input.style.color = cssColor(field.textColor);
    return input;
  });
  const choose = (index) => send({ action: 'alertAction', index, fields: fields.map((input) => input.value) });
  const actions = alert.actions.map((action, index) => {
    const button = element('button', { className: 'alert-action', attributes: { type: 'button' }, text: action.title });
    if (action.style === cancelStyle) button.classList.add('cancel');
    if (action.style === destructiveStyle) button.classList.add('destructive');
    button.addEventListener('click', () => choose(index));
    return button;
  });
  const titleId = 'alert-title';
  const box = element('div', {
    className: 'alert',
    attributes: { role: 'alertdialog', 'aria-modal': 'true', 'aria-labelledby': alert.title ? titleId : undefined },
  }, [
    element('div', { className: 'alert-body' }, [
      alert.title ? element('h2', { className: 'alert-title', attributes: { id: titleId }, text: alert.title }) : null,
      alert.message ? element('p', { className: 'alert-message', text: alert.message }) : null,
      ...fields,
    ]),
    element('div', { className: `alert-actions${actions.length === 2 ? ' side-by-side' : ''}` }, actions),
  ]);
  const cancel = alert.actions.findIndex((action) => action.style === cancelStyle);
  const escapeChoice = cancel >= 0 ? cancel : alert.actions.length === 1 ? 0 : -1;
  const preferred = alert.actions.findIndex((action) => action.style !== cancelStyle);
  for (const input of fields) {
    input.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && preferred >= 0) {
        event.preventDefault();
        choose(preferred);
      }
    });
  }
  return modal(box, escapeChoice >= 0 ? () => choose(escapeChoice) : null, fields[0] ?? actions[0]);
}

export function renderSheet(sheet, send) {
  const close = () => send({ action: 'dismissSheet' });
  const tint = sheet.tint ? cssColor(sheet.tint) : '';
  const items = sheet.items.map((item) =>
    element('li', { className: 'sheet-item' }, [
      element('span', { className: 'sheet-item-image' }, [item.image ? imageElement(item.image) : null]),
      element('div', { className: 'sheet-item-text' }, [
        element('h3', { text: item.title }),
        element('p', { text: item.description }),
      ]),
    ]),
  );
  const done = element('button', { className: 'sheet-done', attributes: { type: 'button' }, text: 'Done' });
  done.addEventListener('click', close);
  const box = element('div', {
    className: `sheet backdrop-${sheet.backdropStyle ?? 'none'}${sheet.presentationStyle === 2 ? ' form-sheet' : ''}`,
    attributes: { role: 'dialog', 'aria-modal': 'true', 'aria-labelledby': 'sheet-title' },
  }, [
    element('div', { className: 'sheet-bar' }, [done]),
    element('div', { className: 'sheet-scroll' }, [
      sheet.icon ? element('div', { className: 'sheet-icon' }, [imageElement(sheet.icon, 'contain')]) : null,
      element('h2', { className: 'sheet-title', attributes: { id: 'sheet-title' }, text: sheet.title }),
      element('p', { className: 'sheet-detail', text: sheet.detailText }),
      element('ul', { className: 'sheet-items' }, items),
    ]),
  ]);
  if (tint) box.style.setProperty('--sheet-tint', tint);
  return modal(box, close, done);
}

// A dimmed layer holding the dialog: Tab cycles inside it, Escape runs `onEscape`.
function modal(dialog, onEscape, firstFocus) {
  const layer = element('div', { className: 'modal-layer' }, [dialog]);
  layer.addEventListener('keydown', (event) => {
    if (event.key === 'Escape' && onEscape) {
      event.preventDefault();
      onEscape();
    } else if (event.key === 'Tab') {
      keepFocusInside(dialog, event);
    }
  });
  if (onEscape) {
    layer.addEventListener('click', (event) => {
      if (event.target === layer) onEscape();
    });
  }
  layer.focusFirst = () => firstFocus?.focus();
  return layer;
}

function keepFocusInside(dialog, event) {
  const focusable = [...dialog.querySelectorAll('button, input')].filter((node) => !node.disabled);
  if (!focusable.length) return;
  const first = focusable[0];
  const last = focusable[focusable.length - 1];
  if (event.shiftKey && document.activeElement === first) {
    event.preventDefault();
    last.focus();
  } else if (!event.shiftKey && document.activeElement === last) {
    event.preventDefault();
    first.focus();
  }
}
