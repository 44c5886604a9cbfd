// Screenshots of every template set for docs/templates.md: the test menu
// with a submenu opened, light and dark, 1000 and 360 pixels wide; and the
// example project with "Pflanzen" open, 1280 and 375 pixels wide.
// Usage: node template-gallery.mjs <pages directory> <node_modules parent> <image directory>
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { launchChromium, requireFrom } from '../tests/browser/chromium.mjs';

const [pagesDir, nodeDir, imageDir] = process.argv.slice(2);
const require = requireFrom(nodeDir);

const browser = await launchChromium(require);

// The page that shows the deepest open path: the file of the item on the
// second level (Produkte > Werkzeug), else the one menu file.
function pageOf(set) {
  const dir = path.join(pagesDir, set, 'testmenue');
  const deep = path.join(dir, 'Child2,1.htm');
  return fs.existsSync(deep) ? deep : path.join(dir, 'index.htm');
}

// The example's page with "Pflanzen" open, reached as a visitor would reach
// it: through the menu, so a folding menu stands open.
function examplePageOf(set) {
  const dir = path.join(pagesDir, set, 'beispiel');
  const file = path.join(dir, 'Child2.htm');
  return fs.existsSync(file) ? pathToFileURL(file).href + '#tw-menue' : pathToFileURL(path.join(dir, 'index.htm')).href;
}

// Opens what a visitor would open: the menu button, then closed submenus.
async function openMenu(page, submenus) {
  const button = page.locator('.tw-knopf-auf');
  if ((await button.count()) > 0 && (await button.isVisible())) await button.click();
  for (let i = 0; i < submenus; ++i) {
    const closed = page.locator('nav details:not([open]) > summary').first();
    if ((await closed.count()) > 0 && (await closed.isVisible())) await closed.click();
  }
  await page.mouse.move(0, 0);
}

const sizes = { breit: { width: 1000, height: 560 }, schmal: { width: 360, height: 640 } };
for (const set of fs.readdirSync(pagesDir).sort()) {
  // A menu for other pages to include takes their colours: no dark scheme of its own.
  const included = fs.existsSync(path.join(pagesDir, set, 'testmenue', 'menue.inc'));
  for (const scheme of included ? ['light'] : ['light', 'dark']) {
    for (const [sizeName, viewport] of Object.entries(sizes)) {
      const context = await browser.newContext({ viewport, colorScheme: scheme, reducedMotion: 'reduce' });
      const page = await context.newPage();
      await page.goto(pathToFileURL(pageOf(set)).href);
      await openMenu(page, 2);
      const file = path.join(imageDir, `vorlage-${set.toLowerCase()}-${scheme === 'light' ? 'hell' : 'dunkel'}-${sizeName}.png`);
      await page.screenshot({ path: file, fullPage: sizeName === 'schmal' });
      console.log(file);
      await context.close();
    }
  }
}
for (const set of fs.readdirSync(pagesDir).sort()) {
  for (const width of [1280, 375]) {
    const context = await browser.newContext({ viewport: { width, height: width > 800 ? 720 : 700 }, reducedMotion: 'reduce' });
    const page = await context.newPage();
    await page.goto(examplePageOf(set));
    await openMenu(page, 1);
    const file = path.join(imageDir, `beispiel-${set.toLowerCase()}-${width}.png`);
    await page.screenshot({ path: file, fullPage: width < 800 });
    console.log(file);
    await context.close();
  }
}
await browser.close();
