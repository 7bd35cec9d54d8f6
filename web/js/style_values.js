// Page-model values (colours 0…1, fonts with a weight from -1 to 1, content modes) as CSS.

export const darkScheme = matchMedia('(prefers-color-scheme: dark)');

// A dynamic colour (one with a "dark" value) follows the browser's colour scheme.
export function cssColor(color) {
  if (!color) return '';
  const shown = darkScheme.matches && color.dark ? color.dark : color;
  const channel = (value) => Math.round(Math.min(1, Math.max(0, value)) * 255);
  return `rgba(${channel(shown.r)}, ${channel(shown.g)}, ${channel(shown.b)}, ${shown.a})`;
}

// The system font of the home screen's pictures, served with the page (style.css).
const systemFamily = 'var(--system-font)';

// UIFont weights (-1…1) to CSS weights.
function cssWeight(weight) {
  const steps = [[-0.7, 100], [-0.5, 200], [-0.3, 300], [0.15, 400], [0.27, 500], [0.35, 600], [0.5, 700], [0.6, 800]];
  for (const [below, css] of steps) if (weight < below) return css;
  return 900;
}

// "HelveticaNeue-Light" names a family and a face; the face gives the weight.
const faceWeights = { UltraLight: 100, Thin: 200, Light: 300, Regular: 400, Medium: 500, Bold: 700, Heavy: 800, Black: 900 };

export function applyFont(style, font) {
  if (!font) return;
  style.fontSize = `${font.size}px`;
  if (font.name === 'System') {
    style.fontFamily = systemFamily;
    style.fontWeight = String(cssWeight(font.weight));
  } else {
    const [family, face] = font.name.split('-');
    const spaced = family.replace(/([a-z])([A-Z])/g, '$1 $2');
    style.fontFamily = `"${spaced}", "${family}", ${systemFamily}`;
    style.fontWeight = String(faceWeights[face] ?? cssWeight(font.weight));
  }
  if (font.monospacedDigits) style.fontVariantNumeric = 'tabular-nums';
}

// UIViewContentMode to object-fit: 0 scale to fill, 1 aspect fit, 2 aspect fill, 4 centre.
export function objectFit(contentMode) {
  return { 0: 'fill', 1: 'contain', 2: 'cover', 4: 'none' }[contentMode] ?? 'fill';
}

export const textAlign = (alignment) => ({ 1: 'center', 2: 'right' }[alignment] ?? 'left');
