// Pictures for the README: a page of the example site (examples/garten) with
// the menu written in by two sets, 1280 and 375 pixels wide.
// Usage: node embed-gallery.mjs <treeweaver-cli> <templates> <node_modules parent> <image directory>
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchChromium, requireFrom } from '../tests/browser/chromium.mjs';

const [cli, templatesDir, nodeDir, imageDir] = process.argv.slice(2);
const examples = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'examples');
const require = requireFrom(nodeDir);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-embed-gallery-'));
const browser = await launchChromium(require);
try {
  for (const set of ['Seitenleiste', 'Aufklappend']) {
    const site = path.join(work, set, 'site');
    fs.cpSync(path.join(examples, 'garten'), site, { recursive: true });
    // The example project names Seitenleiste; the set shown takes its place.
    fs.cpSync(path.join(templatesDir, set), path.join(work, set, 'templates', 'Seitenleiste'), { recursive: true });
    execFileSync(cli, ['embed', path.join(examples, 'garten.twb'), site, '--templates', path.join(work, set, 'templates')], {
      stdio: 'inherit',
      env: { ...process.env, XDG_STATE_HOME: path.join(work, 'state') },
    });
    for (const [width, height] of [[1280, 720], [375, 900]]) {
      const page = await browser.newPage({ viewport: { width, height } });
      await page.goto(pathToFileURL(path.join(site, 'gaerten', 'obst', 'aepfel.html')).href);
      await page.screenshot({ path: path.join(imageDir, `eingebettet-${set.toLowerCase()}-${width}.png`) });
      await page.close();
    }
  }
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
