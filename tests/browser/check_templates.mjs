// Checks every generated page of every shipped template set in headless
// Chromium: axe-core (WCAG 2.1 A/AA and best practices) in the light and,
// where the project sets no colours, the dark colour scheme; the contrast of
// all text at rest, under the pointer and with keyboard focus; a keyboard
// walk with Tab over every entry and Enter on a submenu; the first letter
// and the rows of a site map at full width; the menu at 360 pixels width;
// and the printed menu.
// Usage: node check_templates.mjs <pages directory> <node_modules parent> [result.json] [set]
// With a set's name, only that set is checked (ctest runs one entry per set).
import fs from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { axeCheck, launchChromium, requireFrom } from './chromium.mjs';

const [pagesDir, nodeDir, resultFile, onlySet] = process.argv.slice(2);
const require = requireFrom(nodeDir);
const axeViolations = axeCheck(require);

const AA = 4.5;
const WIDE = { width: 1100, height: 800 };
const NARROW = { width: 360, height: 740 };

const browser = await launchChromium(require);

// In the page: contrast of an element's own text against what lies behind it.
const measureSource = `
window.twParse = (c) => {
  let m = c.match(/^rgba?\\(([^)]*)\\)/);
  if (m) { const p = m[1].split(/[\\s,\\/]+/).filter(Boolean).map(Number); return [p[0], p[1], p[2], p.length > 3 ? p[3] : 1]; }
  m = c.match(/^color\\(srgb ([^)]*)\\)/);
  if (m) { const p = m[1].split(/[\\s\\/]+/).filter(Boolean).map(Number); return [p[0] * 255, p[1] * 255, p[2] * 255, p.length > 3 ? p[3] : 1]; }
  throw new Error('unknown colour ' + c);
};
window.twOver = (top, below) => [0, 1, 2].map((i) => top[i] * top[3] + below[i] * (1 - top[3])).concat(1);
window.twLum = (c) => {
  const f = (v) => { v /= 255; return v <= 0.04045 ? v / 12.92 : Math.pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * f(c[0]) + 0.7152 * f(c[1]) + 0.0722 * f(c[2]);
};
window.twBackground = (el) => {
  const layers = [];
  for (let e = el; e; e = e.parentElement) {
    const c = twParse(getComputedStyle(e).backgroundColor);
    if (c[3] > 0) { layers.push(c); if (c[3] >= 1) break; }
  }
  let result = [255, 255, 255, 1];
  for (const layer of layers.reverse()) result = twOver(layer, result);
  return result;
};
window.twHasOwnText = (el) => [...el.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim() !== '');
// Lowest contrast of the text elements in root (root included) that are shown.
window.twLowest = (root) => {
  let lowest = { ratio: Infinity, text: '' };
  for (const el of [root, ...root.querySelectorAll('*')]) {
    if (!twHasOwnText(el) || !el.checkVisibility({ visibilityProperty: true }) || el.closest('.tw-sr')) continue;
    const bg = twBackground(el);
    const fg = twOver(twParse(getComputedStyle(el).color), bg);
    const [a, b] = [twLum(fg), twLum(bg)].sort((x, y) => y - x);
    const ratio = (a + 0.05) / (b + 0.05);
    if (ratio < lowest.ratio) lowest = { ratio, text: el.textContent.trim().slice(0, 40) };
  }
  return lowest;
};
`;

function sets() {
  return fs.readdirSync(pagesDir, { withFileTypes: true })
    .filter((d) => d.isDirectory() && (!onlySet || d.name === onlySet)).map((d) => d.name).sort();
}

function pagesOf(set, project) {
  const dir = path.join(pagesDir, set, project);
  const names = fs.readdirSync(dir).filter((n) => n.endsWith('.htm')).sort((a, b) => (a === 'index.htm' ? -1 : b === 'index.htm' ? 1 : a.localeCompare(b)));
  return names.map((n) => path.join(dir, n));
}

async function openPage(context, file) {
  const page = await context.newPage();
  await page.addInitScript(measureSource);
  await page.goto(pathToFileURL(file).href);
  return page;
}

// The links and summaries of the menu that a visitor can reach at all.
const ENTRIES = 'nav a:not([href=""]), nav summary';

async function hoverLowest(page) {
  let lowest = { ratio: Infinity, text: '' };
  const entries = page.locator(ENTRIES);
  for (let i = 0, n = await entries.count(); i < n; ++i) {
    const entry = entries.nth(i);
    if (!(await entry.isVisible())) continue;
    await entry.hover();
    const r = await entry.evaluate((el) => twLowest(el));
    if (r.ratio < lowest.ratio) lowest = r;
  }
  await page.mouse.move(0, 0);
  return lowest;
}

// Tabs through the page; opens closed submenus met on the way with Enter.
// Returns the names of the entries reached and the lowest contrast in focus.
async function tabWalk(page) {
  const reached = new Set();
  let lowest = { ratio: Infinity, text: '' };
  for (let step = 0; step < 300; ++step) {
    await page.keyboard.press('Tab');
    const info = await page.evaluate(() => {
      const el = document.activeElement;
      if (!el || el === document.body) return null;
      const closedSummary = el.tagName === 'SUMMARY' && !el.parentElement.open && el.closest('nav') !== null;
      return { name: el.textContent.trim(), closedSummary, lowest: twLowest(el) };
    });
    if (!info) break;
    reached.add(info.name);
    if (info.lowest.ratio < lowest.ratio) lowest = info.lowest;
    if (info.closedSummary) await page.keyboard.press('Enter');
  }
  return { reached, lowest };
}

// The sets for an iframe and for frames stay light beside a light site when
// the variable Farbschema is "hell": the luminance of the page then, or null
// for a set without the variable.
const LIGHT_ON_REQUEST = ['Aufklappend', 'Rahmen'];
async function keptLight(page) {
  return page.evaluate(() => {
    const html = document.documentElement;
    if (!html.hasAttribute('data-farbschema')) return null;
    html.dataset.farbschema = 'hell';
    const light = twLum(twBackground(document.body));
    html.dataset.farbschema = '';
    return light;
  });
}

async function entryNames(page) {
  return page.$$eval(ENTRIES, (els) => els.map((e) => e.textContent.trim()));
}

// Enter on the first closed submenu: a link to a submenu file, or a summary.
async function enterOpensSubmenu(context, file) {
  const page = await openPage(context, file);
  try {
    const link = await page.$('nav .tw-zu > a');
    const summary = await page.$('nav details:not([open]) > summary');
    const target = link || summary;
    if (!target) return 'keine Untermenüs zu öffnen';
    const name = (await target.textContent()).trim();
    for (let step = 0; step < 100; ++step) {
      await page.keyboard.press('Tab');
      if (await target.evaluate((el) => el === document.activeElement)) break;
    }
    if (!(await target.evaluate((el) => el === document.activeElement))) return `Tab erreicht ${name} nicht`;
    if (link) {
      const href = await link.getAttribute('href');
      await Promise.all([page.waitForURL((u) => u.pathname.endsWith('/' + encodeURI(href)) || u.href.endsWith(href)), page.keyboard.press('Enter')]);
      const current = await page.$$eval('nav a[aria-current]', (els) => els.map((e) => e.textContent.trim()));
      return current.includes(name) ? '' : `${href}: ${name} ohne aria-current`;
    }
    await page.keyboard.press('Enter');
    return (await summary.evaluate((el) => el.parentElement.open)) ? '' : `${name} öffnet nicht`;
  } finally {
    await page.close();
  }
}

// At 360 pixels: nothing scrolls sideways; a menu button opens and closes the
// menu, and a page reached through a submenu link shows it open; otherwise the first submenu summary opens and closes, or the menu shows.
async function narrowCheck(context, file) {
  const page = await openPage(context, file);
  try {
    const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
    if (overflow > 0) return `${overflow}px zu breit`;
    const firstLink = page.locator('nav a:not([href=""])').first();
    if ((await page.locator('.tw-knopf').count()) > 0) {
      const open = page.locator('.tw-knopf-auf');
      const close = page.locator('.tw-knopf-zu');
      // Exactly one of the two controls, whether the menu is open or closed.
      if (!(await open.isVisible())) return 'kein Menüknopf';
      if (await close.isVisible()) return 'Öffnen und Schließen zugleich sichtbar';
      if (await firstLink.isVisible()) return 'Menü schon offen';
      await open.click();
      if (!(await firstLink.isVisible())) return 'Knopf öffnet das Menü nicht';
      if (!(await close.isVisible())) return 'kein Knopf zum Schließen';
      if (await open.isVisible()) return 'Schließen und Öffnen zugleich sichtbar';
      await close.click();
      if (await firstLink.isVisible()) return 'Knopf schließt das Menü nicht';
      // A page reached through the menu shows it open: one tap per level.
      const parent = page.locator('nav .tw-zu > a').first();
      if ((await parent.count()) === 0) return 'Knopf öffnet und schließt';
      await open.click();
      await Promise.all([page.waitForNavigation(), parent.click()]);
      return (await firstLink.isVisible()) ? 'Knopf öffnet und schließt, Untermenü-Seite offen' : 'Menü auf der Untermenü-Seite nicht offen';
    }
    const summary = page.locator('nav details > summary').first();
    if ((await summary.count()) > 0) {
      const inner = page.locator('nav details').first().locator(':scope > ul > li > :is(a:not([href=""]), details > summary)').first();
      if (await inner.isVisible()) return 'Untermenü schon offen';
      await summary.click();
      if (!(await inner.isVisible())) return 'Untermenü öffnet nicht';
      await summary.click();
      return (await inner.isVisible()) ? 'Untermenü schließt nicht' : 'Untermenü öffnet und schließt';
    }
    return (await firstLink.isVisible()) ? 'Menü sichtbar' : 'Menü unsichtbar';
  } finally {
    await page.close();
  }
}

// Printed: no menu button, every entry that a visitor could open is on paper.
async function printCheck(context, file) {
  const page = await openPage(context, file);
  try {
    await page.emulateMedia({ media: 'print' });
    const hidden = await page.$$eval('nav li > a:not([href=""])', (els) => els.filter((e) => !e.checkVisibility()).length);
    const button = await page.locator('.tw-knopf').isVisible().catch(() => false);
    return hidden === 0 && !button ? '' : `${hidden} Einträge fehlen im Druck${button ? ', Menüknopf gedruckt' : ''}`;
  } finally {
    await page.close();
  }
}

// Wide: the first letter is bold only where the project colours it, the
// sections of a site map stand in rows with their headings at one height,
// and no column holds a heading alone.
async function layoutCheck(context, file, project) {
  const page = await openPage(context, file);
  try {
    const { weight, around, rowHeights, headingOnly } = await page.evaluate(() => {
      const initial = document.querySelector('.tw-initiale');
      const weightOf = (el) => Number(getComputedStyle(el).fontWeight);
      // Heading heights per row of sections; a row of one is a section of its own.
      const rows = new Map();
      for (const section of document.querySelectorAll('.tw-bereich')) {
        const top = Math.round(section.getBoundingClientRect().top);
        if (!rows.has(top)) rows.set(top, new Set());
        rows.get(top).add(Math.round(section.querySelector('h2').getBoundingClientRect().top));
      }
      return {
        weight: initial ? weightOf(initial) : null,
        around: initial ? weightOf(initial.parentElement) : null,
        rowHeights: Math.max(0, ...[...rows.values()].map((heights) => heights.size)),
        // A column with nothing below its heading wastes the width of a list.
        headingOnly: [...document.querySelectorAll('.tw-bereich')].filter((s) => !s.querySelector('li') && s.getBoundingClientRect().width < document.querySelector('.tw-nav').getBoundingClientRect().width - 1).length,
      };
    });
    const problems = [];
    const bold = project === 'beispiel';
    if (weight !== null && (bold ? weight < 600 : weight > around)) problems.push(`erster Buchstabe ${bold ? 'nicht ' : ''}fett (${weight})`);
    if (rowHeights > 1) problems.push(`Überschriften einer Zeile auf ${rowHeights} Höhen`);
    if (headingOnly > 0) problems.push(`${headingOnly} Spalten nur mit Überschrift`);
    return problems.join(', ');
  } finally {
    await page.close();
  }
}

const rows = [];
let failures = 0;
const fail = (set, text) => { ++failures; console.log(`FEHLER ${set}: ${text}`); };
const wide = await browser.newContext({ viewport: WIDE, reducedMotion: 'reduce' });
const dark = await browser.newContext({ viewport: WIDE, colorScheme: 'dark' });
const narrow = await browser.newContext({ viewport: NARROW });
const print = await browser.newContext({ viewport: WIDE });

for (const set of sets()) {
  const row = { set, pages: 0, axe: 0, lowest: Infinity, lowestAt: '', keyboard: '', narrow: [] };
  const note = (lowest, where) => {
    if (lowest.ratio < row.lowest) { row.lowest = lowest.ratio; row.lowestAt = `${where}: ${lowest.text}`; }
  };
  for (const project of ['beispiel', 'testmenue']) {
    const files = pagesOf(set, project);
    const expected = new Set();
    const reached = new Set();
    const contexts = project === 'testmenue' ? [['hell', wide], ['dunkel', dark]] : [['hell', wide]];
    for (const file of files) {
      const where = `${project}/${path.basename(file)}`;
      ++row.pages;
      for (const [scheme, context] of contexts) {
        const page = await openPage(context, file);
        const violations = await axeViolations(page);
        row.axe += violations.length;
        for (const v of violations) fail(set, `${where} ${scheme}: ${v}`);
        note(await page.evaluate(() => twLowest(document.body)), `${where} ${scheme}`);
        note(await hoverLowest(page), `${where} ${scheme} Zeiger`);
        if (scheme === 'hell') for (const name of await entryNames(page)) expected.add(name);
        const extra = await page.evaluate(() => {
          const closeAll = document.querySelector('.tw-schliessen');
          const shown = (el) => el.checkVisibility({ visibilityProperty: true });
          return {
            closeAll: closeAll !== null && shown(closeAll) !== (document.querySelector('.tw-offen') !== null),
            strayRule: [...document.querySelectorAll('hr')].some((hr) => shown(hr) && !hr.closest('nav')),
          };
        });
        if (extra.closeAll) fail(set, `${where}: "Alle Untermenüs schließen" ohne offenes Untermenü oder fehlt`);
        if (extra.strayRule) fail(set, `${where}: Trennlinie unter dem Menü`);
        if (scheme === 'dunkel') {
          const light = await keptLight(page);
          if (light !== null && light < 0.5) fail(set, `${where}: Farbschema "hell" bleibt dunkel`);
          if (light === null && LIGHT_ON_REQUEST.includes(set)) fail(set, 'kein Farbschema "hell"');
        }
        const walk = await tabWalk(page);
        note(walk.lowest, `${where} ${scheme} Fokus`);
        if (scheme === 'hell') for (const name of walk.reached) reached.add(name);
        await page.close();
      }
    }
    const missing = [...expected].filter((name) => !reached.has(name));
    if (missing.length) fail(set, `${project}: mit Tab nicht erreicht: ${missing.join(', ')}`);
    const entered = await enterOpensSubmenu(wide, files[0]);
    if (entered.startsWith('Tab') || entered.includes('ohne') || entered.includes('nicht')) fail(set, `${project}: Enter: ${entered}`);
    row.keyboard += `${project}: ${reached.size}/${expected.size} Einträge, Enter: ${entered || 'öffnet'}; `;
    const small = await narrowCheck(narrow, files[0]);
    if (/zu breit|kein|schon|nicht|unsichtbar|zugleich/.test(small)) fail(set, `${project} 360px: ${small}`);
    row.narrow.push(small);
    const laidOut = await layoutCheck(wide, files[0], project);
    if (laidOut) fail(set, `${project}: ${laidOut}`);
    const printed = await printCheck(print, files[0]);
    if (printed) fail(set, `${project} Druck: ${printed}`);
  }
  if (row.lowest < AA) fail(set, `Kontrast ${row.lowest.toFixed(2)} bei ${row.lowestAt}`);
  rows.push(row);
}
await browser.close();

console.log('\n| Vorlage | Seiten | axe-Verstöße | niedrigster Kontrast | Tastatur | 360 px |');
console.log('|---|---|---|---|---|---|');
for (const r of rows) {
  console.log(`| ${r.set} | ${r.pages} | ${r.axe} | ${r.lowest.toFixed(2)}:1 (${r.lowestAt}) | ${r.keyboard.trim()} | ${[...new Set(r.narrow)].join(', ')} |`);
}
if (resultFile) fs.writeFileSync(resultFile, JSON.stringify(rows, null, 2));
console.log(failures === 0 ? `\n${rows.length} passed, 0 failed` : `\n${failures} Fehler`);
process.exit(failures === 0 && rows.length > 0 ? 0 : 1);
