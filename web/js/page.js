// A settings page as iOS draws it: a navigation bar (back button, title or title view, in the
// bar's tint) over an inset grouped list whose rows are the cells' own view trees.
import { actLikeButton, element } from './dom.js';
import { cssColor } from './style_values.js';
import { placeAt, renderView } from './views.js';

export function renderNavigationBar(page, send) {
  const bar = element('header', { className: 'navigation-bar' });
  if (page.barTint) bar.style.setProperty('--bar-tint', cssColor(page.barTint));
  if (page.canGoBack) {
    const back = element('button', {
      className: 'back-button',
      attributes: { type: 'button', 'aria-label': `Back to ${page.backTitle ?? 'the previous page'}` },
    }, [element('span', { className: 'chevron', attributes: { 'aria-hidden': 'true' } }), element('span', { text: page.backTitle ?? 'Back' })]);
    back.addEventListener('click', () => send({ action: 'back' }));
    bar.append(back);
  }
  const title = element('div', { className: 'navigation-title' });
  if (page.titleView) {
    const view = renderView(page.titleView, { send, tint: page.barTint, label: page.title });
    view.style.position = 'relative';
    view.style.left = view.style.top = '0';
    title.append(view);
  } else {
    title.append(element('h1', { text: page.title }));
  }
  bar.append(title);
  return bar;
}

export function renderContent(page, send) {
  const content = element('div', { className: 'list', attributes: { 'data-controller': page.controllerClass, 'data-depth': page.depth } });
  content.style.setProperty('--cell-width', `${page.width}px`);
  if (page.depth === 0) content.append(element('h1', { className: 'large-title', text: page.title }));
  if (page.tableHeader && !page.tableHeader.hidden) content.append(tableHeader(page.tableHeader, send));
  page.sections.forEach((section, index) => content.append(renderSection(section, index, send)));
  return content;
}

function tableHeader(node, send) {
  const box = element('div', { className: 'table-header' });
  box.style.height = `${node.frame.height}px`;
  const view = renderView(node, { send });
  placeAt(view, { ...node.frame, x: 0, y: 0 });
  box.append(view);
  return box;
}

function renderSection(section, index, send) {
  const box = element('section', { className: 'section', attributes: { 'data-section': index } });
  const header = element('div', { className: 'section-header', attributes: { 'data-section-header': index } });
  header.style.height = `${section.headerHeight}px`;
  if (section.headerView) {
    if (!section.headerView.hidden) header.append(renderView(section.headerView, { send }));
  } else if (section.groupLabel) {
    header.classList.add('group-label');
    header.append(element('span', { text: section.groupLabel }));
  }
  box.append(header);
  if (section.rows.length) {
    const card = element('div', { className: 'card' });
    for (const row of section.rows) card.append(renderRow(row, send));
    box.append(card);
  }
  if (section.footerText) box.append(element('p', { className: 'footer', text: section.footerText }));
  return box;
}

function renderRow(row, send) {
  const cell = row.cell;
  const box = element('div', {
    className: 'row',
    attributes: { 'data-label': row.label, 'data-cell-class': row.cellClass, 'data-cell-type': row.cellType, 'data-view': cell.id },
  });
  box.style.height = `${row.height}px`;
  if (cell.hidden) box.hidden = true;
  if (cell.alpha !== 1) box.style.opacity = String(cell.alpha);
  if (cell.backgroundColor) box.style.backgroundColor = cssColor(cell.backgroundColor);
  const context = { send, label: row.label || undefined };
  for (const subview of cell.subviews) if (!subview.hidden) box.append(renderView(subview, context));
  if (row.opensPage || row.isButton) {
    box.classList.add('tappable');
    actLikeButton(box, () => send({ action: 'tap', view: cell.id }), row.label);
  }
  if (row.opensPage) box.append(element('span', { className: 'disclosure', attributes: { 'aria-hidden': 'true' } }));
  return box;
}
