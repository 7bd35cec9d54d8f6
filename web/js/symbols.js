// System symbols ("symbol:<name>") drawn as simple glyphs in the current colour.
import { svg } from './dom.js';

const glyphs = {
  'wrench.fill': () => [
    svg('path', {
      d: 'M14.7 3.3a5 5 0 0 0-6.2 6.3L3 15.1a1.6 1.6 0 0 0 2.3 2.3l5.5-5.5a5 5 0 0 0 6.3-6.2l-3 3-2.3-.6-.6-2.3z',
      fill: 'currentColor',
    }),
  ],
  applelogo: () => [
    svg('path', {
      d: 'M13.6 10.6c0-2 1.6-2.9 1.7-3-1-1.4-2.4-1.6-2.9-1.6-1.2-.1-2.4.7-3 .7s-1.6-.7-2.6-.7C5.4 6 4 7 3.3 8.4c-1.5 2.6-.4 6.4 1 8.5.7 1 1.5 2.1 2.6 2.1 1 0 1.4-.7 2.7-.7s1.6.7 2.7.6c1.1 0 1.8-1 2.5-2 .8-1.1 1.1-2.3 1.1-2.3s-2.3-.9-2.3-3.5zM11.6 4.6c.6-.7.9-1.6.8-2.6-.8 0-1.8.5-2.4 1.2-.5.6-1 1.6-.8 2.5.9.1 1.8-.4 2.4-1.1z',
      fill: 'currentColor',
    }),
  ],
  'exclamationmark.circle.fill': () => [
    svg('circle', { cx: 10, cy: 10, r: 8.5, fill: 'currentColor' }),
    svg('rect', { x: 9, y: 4.8, width: 2, height: 6.8, rx: 1, fill: 'white' }),
    svg('circle', { cx: 10, cy: 14.6, r: 1.2, fill: 'white' }),
  ],
  'info.circle': () => [
    svg('circle', { cx: 10, cy: 10, r: 8.2, fill: 'none', stroke: 'currentColor', 'stroke-width': 1.5 }),
    svg('rect', { x: 9.1, y: 8.4, width: 1.8, height: 6, rx: 0.9, fill: 'currentColor' }),
    svg('circle', { cx: 10, cy: 5.9, r: 1.15, fill: 'currentColor' }),
  ],
};

// A glyph for an unknown symbol: a ring with the name's first letter.
function fallback(name) {
  const letter = svg('text', {
    x: 10, y: 14, 'text-anchor': 'middle', 'font-size': 10, fill: 'currentColor', 'font-family': 'Inter, sans-serif',
  });
  letter.textContent = (name[0] ?? '?').toUpperCase();
  return [svg('circle', { cx: 10, cy: 10, r: 8.2, fill: 'none', stroke: 'currentColor', 'stroke-width': 1.5 }), letter];
}

export function symbolGlyph(name, size = 20) {
  const shapes = (glyphs[name] ?? (() => fallback(name)))();
  return svg('svg', { viewBox: '0 0 20 20', width: size, height: size, 'aria-hidden': 'true', class: 'symbol' }, shapes);
}
