// Small DOM helpers. Text only ever goes in through textContent or attribute setters, so
// nothing from a plist, a localisation table or a value can become markup.

export function element(tag, { className, attributes, text, style } = {}, children = []) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  for (const [name, value] of Object.entries(attributes ?? {})) {
    if (value !== undefined && value !== null && value !== false) node.setAttribute(name, String(value));
  }
  if (text !== undefined && text !== null) node.textContent = text;
  if (style) Object.assign(node.style, style);
  for (const child of children) if (child) node.append(child);
  return node;
}

const svgNamespace = 'http://www.w3.org/2000/svg';

export function svg(tag, attributes = {}, children = []) {
  const node = document.createElementNS(svgNamespace, tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, String(value));
  for (const child of children) node.append(child);
  return node;
}

// Makes a non-button element work like one: focusable, Enter and Space activate it.
export function actLikeButton(node, activate, label) {
  node.tabIndex = 0;
  node.setAttribute('role', 'button');
  if (label) node.setAttribute('aria-label', label);
  node.addEventListener('click', (event) => {
    event.stopPropagation();
    activate();
  });
  node.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' || event.key === ' ') {
      event.preventDefault();
      event.stopPropagation();
      activate();
    }
  });
}
