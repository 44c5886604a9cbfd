// Writes the menu of one shipped set into a copy of the example site with
// `treeweaver-cli embed` and checks every page in headless Chromium at 1280
// and 375 pixels, light and dark: the menu shows, exactly one entry of it
// carries aria-current="page" and leads to the page itself, the page's own
// entry and the open path stand out, every link of the program's blocks
// finds its file (letter case included), nothing scrolls sideways, the
// page's own rules ("nav ul {display:flex}") do not reach the menu, an
// .xhtml page is read as XML without a fault, and axe-core finds no
// violation.
// Usage: node check_embed.mjs <site> <project> <treeweaver-cli> <templates> <set> <node_modules parent>
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { execFileSync } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { axeCheck, launchChromium, requireFrom } from './chromium.mjs';

const [siteDir, project, cli, templatesDir, set, nodeDir] = process.argv.slice(2);
const require = requireFrom(nodeDir);
const axeViolations = axeCheck(require);
const PAGE = /\.(html?|shtml|php|xhtml)$/;
// The example project names this set; the set under test takes its place.
const PROJECT_SET = 'Seitenleiste';
const VIEWS = [
  ['1280 hell', { viewport: { width: 1280, height: 900 }, colorScheme: 'light' }],
  ['1280 dunkel', { viewport: { width: 1280, height: 900 }, colorScheme: 'dark' }],
  ['375 hell', { viewport: { width: 375, height: 800 }, colorScheme: 'light' }],
  ['375 dunkel', { viewport: { width: 375, height: 800 }, colorScheme: 'dark' }],
];

let failures = 0;
const fail = (text) => { ++failures; console.log(`FEHLER ${set}: ${text}`); };

function embedInto(work) {
  const site = path.join(work, 'site');
  fs.cpSync(siteDir, site, { recursive: true });
  fs.cpSync(path.join(templatesDir, set), path.join(work, 'templates', PROJECT_SET), { recursive: true });
  execFileSync(cli, ['embed', project, site, '--templates', path.join(work, 'templates')], {
    stdio: ['ignore', 'ignore', 'inherit'],
    env: { ...process.env, XDG_STATE_HOME: path.join(work, 'state') },
  });
  return site;
}

// Links of the program's blocks that lead into the site and do not find
// their file with exactly that name.
function brokenLinks(page, hrefs) {
  const broken = [];
  for (const href of hrefs) {
    const url = new URL(href);
    if (url.protocol !== 'file:') continue;
    let file = fileURLToPath(url);
    if (file.endsWith('/')) file = path.join(file, 'index.html');
    const parts = path.relative('/', file).split(path.sep);
    let dir = '/';
    const found = parts.every((part) => {
      const ok = fs.existsSync(dir) && fs.readdirSync(dir).includes(part);
      dir = path.join(dir, part);
      return ok;
    });
    if (!found) broken.push(`${page} -> ${href}`);
  }
  return broken;
}

// What the page shows of the menu between its markers, measured in the page.
function inspectMenu() {
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_COMMENT);
  let begin = null;
  while (walker.nextNode()) {
    if (walker.currentNode.data.trim() === 'treeweaver:menu') { begin = walker.currentNode; break; }
  }
  const menu = begin && begin.nextElementSibling;
  if (!menu) return null;
  const shown = (el) => el.checkVisibility({ visibilityProperty: true });
  const links = [...menu.querySelectorAll('a[href]')];
  const current = [...menu.querySelectorAll('[aria-current="page"]')];
  const other = links.find((a) => !a.closest('.tw-e-pfad, .tw-e-seite') && a.getAttribute('aria-current') === null && shown(a));
  const look = (el) => { const s = getComputedStyle(el); return `${s.fontWeight}|${s.boxShadow}|${s.backgroundColor}`; };
  const path = [...menu.querySelectorAll('.tw-e-pfad')];
  return {
    xml: document.contentType === 'application/xhtml+xml' && !document.querySelector('parsererror'),
    shownLinks: links.filter(shown).length,
    current: current.map((el) => ({ href: el.href, shown: shown(el), stands: !other || look(el) !== look(other) })),
    pathOpen: path.every((li) => [...li.querySelectorAll(':scope ul a, :scope details a')].some(shown)),
    listsAsBlocks: [...menu.querySelectorAll('ul')].every((ul) => getComputedStyle(ul).display === 'block'),
    overflow: document.documentElement.scrollWidth - window.innerWidth,
    blockLinks: [...document.querySelectorAll('.tw-e a[href], nav[class*="tw-e"] a[href]')].map((a) => a.href),
  };
}

// Runs task over the items, a few pages at a time in one browser.
async function inPool(items, task, width = 4) {
  let next = 0;
  const worker = async () => { while (next < items.length) await task(items[next++]); };
  await Promise.all(Array.from({ length: width }, worker));
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), `tw-embed-${set}-`));
const browser = await launchChromium(require);
let pages = [];
try {
  const site = embedInto(work);
  pages = fs.readdirSync(site, { recursive: true }).filter((n) => PAGE.test(n)).sort();
  if (pages.length < 15) fail(`nur ${pages.length} Seiten`);
  const linksSeen = new Set();
  for (const [view, options] of VIEWS) {
    const context = await browser.newContext(options);
    await inPool(pages, async (name) => {
      const page = await context.newPage();
      const url = pathToFileURL(path.join(site, name)).href;
      await page.goto(url);
      const where = `${name} ${view}`;
      const menu = await page.evaluate(inspectMenu);
      if (!menu) { fail(`${where}: kein Menü zwischen den Markierungen`); await page.close(); return; }
      if (name.endsWith('.xhtml') && !menu.xml) fail(`${where}: nicht als fehlerfreies XML gelesen`);
      if (menu.shownLinks === 0) fail(`${where}: Menü nicht sichtbar`);
      if (menu.current.length !== 1) fail(`${where}: ${menu.current.length} Einträge mit aria-current="page"`);
      for (const c of menu.current) {
        if (c.href !== url) fail(`${where}: aria-current auf ${c.href}`);
        if (!c.shown || !c.stands) fail(`${where}: eigener Eintrag nicht sichtbar hervorgehoben`);
      }
      if (!menu.pathOpen) fail(`${where}: Pfad zur Seite nicht offen`);
      if (!menu.listsAsBlocks) fail(`${where}: Regeln der Seite verschieben die Liste`);
      if (menu.overflow > 0) fail(`${where}: ${menu.overflow}px zu breit`);
      if (view === '1280 hell') {
        for (const broken of brokenLinks(name, menu.blockLinks.filter((h) => !linksSeen.has(h)))) fail(`Link ohne Datei: ${broken}`);
        for (const href of menu.blockLinks) linksSeen.add(href);
      }
      for (const v of await axeViolations(page)) fail(`${where}: ${v}`);
      await page.close();
    });
    await context.close();
  }
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(failures === 0 ? `${set}: ${pages.length} Seiten, je 1280/375 px hell/dunkel, alle Prüfungen bestanden` : `${set}: ${failures} Fehler`);
process.exit(failures === 0 && pages.length > 0 ? 0 : 1);
