// node-vibrant's own Node path over the files named on the command line, one after another as
// its API is meant to be used: one JSON line per file with its six swatches.
import { Vibrant } from "node-vibrant/node";

for (const file of process.argv.slice(2)) {
  const palette = await Vibrant.from(file).getPalette();
  const swatches = Object.fromEntries(
    Object.entries(palette).map(([name, swatch]) => [name, swatch ? swatch.hex : null]),
  );
  console.log(JSON.stringify({ file, swatches }));
}
