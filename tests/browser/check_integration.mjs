// The three ways of getting the menu into a site (examples/einbinden), each
// generated afresh and tried in headless Chromium: frames and an iframe by
// file URL, the server-side include through nginx on 127.0.0.1.
// Usage: node check_integration.mjs <examples/einbinden> <treeweaver-cli> <node_modules parent> <nginx>
import fs from 'node:fs';
import os from 'node:os';
import net from 'node:net';
import path from 'node:path';
import { execFileSync, spawn } from 'node:child_process';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchChromium, requireFrom } from './chromium.mjs';

const [examplesDir, cli, nodeDir, nginx] = process.argv.slice(2);
const require = requireFrom(nodeDir);
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tw-einbinden-'));
let failures = 0;
const check = (ok, text) => {
  console.log(`${ok ? 'ok    ' : 'FEHLER'} ${text}`);
  if (!ok) ++failures;
};

function generate(example, mainFile) {
  const dir = path.join(work, example);
  fs.cpSync(path.join(examplesDir, example), dir, { recursive: true });
  execFileSync(cli, ['generate', path.join(dir, 'menue.twf'), '--output', path.join(dir, mainFile)], { stdio: 'inherit' });
  return dir;
}

// Every link of the menu files in dir leads to a file that exists.
function brokenFileLinks(dir) {
  const broken = [];
  for (const name of fs.readdirSync(dir).filter((n) => /^(menue|Child[\d,]+)\.htm$/.test(n))) {
    const html = fs.readFileSync(path.join(dir, name), 'latin1');
    for (const [, href] of html.matchAll(/<a [^>]*href="([^"#]*)[^"]*"/g)) {
      if (href === '' || !fs.existsSync(fileURLToPath(new URL(href, pathToFileURL(path.join(dir, name)))))) broken.push(`${name} -> ${href}`);
    }
  }
  return broken;
}

const browser = await launchChromium(require);
const context = await browser.newContext({ viewport: { width: 1100, height: 800 } });

async function frames() {
  const dir = generate('rahmen', 'menue.htm');
  check(brokenFileLinks(dir).length === 0, `Rahmen: alle Links der Menüdateien führen zu Dateien ${brokenFileLinks(dir).join(' ')}`);
  const page = await context.newPage();
  await page.goto(pathToFileURL(path.join(dir, 'index.html')).href);
  const menu = () => page.frame({ name: 'menue' });
  const content = () => page.frame({ name: 'inhalt' });
  check(await menu().locator('nav').isVisible(), 'Rahmen: das Menü steht im linken Rahmen');
  // A parent opens its submenu in the menu frame, its overview in the content frame.
  await Promise.all([menu().waitForNavigation(), menu().getByRole('link', { name: 'Pflanzen', exact: true }).click()]);
  check(menu().url().endsWith('/Child2.htm'), `Rahmen: Pflanzen öffnet das Untermenü im Menürahmen (${menu().url()})`);
  await Promise.all([content().waitForNavigation(), menu().getByRole('link', { name: 'Pflanzen: Übersicht' }).click()]);
  check(content().url().endsWith('/pflanzen.html'), `Rahmen: "Übersicht" öffnet pflanzen.html im Inhaltsrahmen (${content().url()})`);
  await Promise.all([content().waitForNavigation(), menu().getByRole('link', { name: 'Rosen' }).click()]);
  check(content().url().endsWith('/rosen.html') && menu().url().endsWith('/Child2.htm'), 'Rahmen: Rosen im Inhaltsrahmen, das Menü bleibt offen');
  await page.close();
}

async function iframe() {
  const dir = generate('iframe', 'menue.htm');
  check(brokenFileLinks(dir).length === 0, `iframe: alle Links der Menüdateien führen zu Dateien ${brokenFileLinks(dir).join(' ')}`);
  const pages = fs.readdirSync(dir).filter((n) => n.endsWith('.html'));
  const page = await context.newPage();
  for (const name of pages) {
    await page.goto(pathToFileURL(path.join(dir, name)).href);
    const menu = page.frameLocator('iframe.menue');
    check(await menu.locator('nav a').first().isVisible(), `iframe: ${name} zeigt das Menü neben dem Inhalt`);
  }
  // A page link replaces the whole page, a submenu link only the menu.
  await page.goto(pathToFileURL(path.join(dir, 'start.html')).href);
  const frame = page.frame({ name: 'menue' });
  await Promise.all([frame.waitForNavigation(), frame.getByRole('link', { name: 'Service', exact: true }).click()]);
  check(page.url().endsWith('/start.html') && frame.url().endsWith('/Child3.htm'), 'iframe: Service öffnet sein Untermenü im iframe');
  await Promise.all([page.waitForNavigation(), frame.getByRole('link', { name: 'Lieferung' }).click()]);
  check(page.url().endsWith('/lieferung.html'), `iframe: Lieferung öffnet die Seite im ganzen Fenster (${page.url()})`);
  await page.close();
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

// nginx with a configuration and prefix of its own in the scratch folder.
async function startNginx(root) {
  const prefix = path.join(work, 'nginx');
  fs.mkdirSync(path.join(prefix, 'tmp'), { recursive: true });
  const port = await freePort();
  const temp = ['client_body', 'proxy', 'fastcgi', 'uwsgi', 'scgi'].map((t) => `${t}_temp_path ${prefix}/tmp/${t};`).join('\n  ');
  fs.writeFileSync(path.join(prefix, 'nginx.conf'), `worker_processes 1;
daemon off;
pid ${prefix}/nginx.pid;
error_log ${prefix}/error.log;
events { worker_connections 64; }
http {
  access_log off;
  ${temp}
  types { text/html html htm shtml; text/css css; }
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:${port};
    root ${root};
    index index.shtml;
    ssi on;
  }
}
`);
  const server = spawn(nginx, ['-p', prefix, '-e', path.join(prefix, 'error.log'), '-c', path.join(prefix, 'nginx.conf')], { stdio: 'inherit' });
  for (let attempt = 0; attempt < 100; ++attempt) {
    const up = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => { socket.end(); resolve(true); });
      socket.on('error', () => resolve(false));
    });
    if (up) return { server, base: `http://127.0.0.1:${port}` };
    if (server.exitCode !== null) break;
    await new Promise((r) => setTimeout(r, 50));
  }
  server.kill('SIGTERM');
  throw new Error('nginx startet nicht: ' + (fs.existsSync(path.join(prefix, 'error.log')) ? fs.readFileSync(path.join(prefix, 'error.log'), 'utf8') : ''));
}

async function include() {
  const dir = generate('include', 'site/menue.htm');
  const root = path.join(dir, 'site');
  // The server's workers may run as another user: they must read the site.
  for (let d = root; d !== path.dirname(work); d = path.dirname(d)) fs.chmodSync(d, 0o755);
  const pages = fs.readdirSync(root, { recursive: true }).filter((n) => n.endsWith('.shtml')).map((n) => '/' + n.split(path.sep).join('/'));
  const { server, base } = await startNginx(root);
  try {
    const page = await context.newPage();
    const links = new Set();
    for (const address of pages) {
      const response = await page.goto(base + address);
      const nav = page.locator('nav.tw-einbinden');
      check(response.status() === 200 && (await nav.count()) === 1 && (await nav.locator('a').first().isVisible()),
            `SSI: ${address} zeigt das Menü`);
      check(!(await page.content()).includes('<!--#include'), `SSI: ${address} ohne unbearbeitete Anweisung`);
      for (const href of await nav.locator('a').evaluateAll((as) => as.map((a) => a.href))) links.add(href);
    }
    for (const href of links) {
      const response = await page.request.get(href);
      check(response.status() === 200, `SSI: Menülink ${href.slice(base.length)} antwortet ${response.status()}`);
    }
    // An overview entry inside a closed submenu leads to the parent's page.
    await page.goto(base + '/index.shtml');
    await page.locator('nav summary', { hasText: 'Pflanzen' }).click();
    await Promise.all([page.waitForNavigation(), page.getByRole('link', { name: 'Pflanzen: Übersicht' }).click()]);
    check(page.url() === base + '/pflanzen/index.shtml', 'SSI: "Übersicht" führt zur Seite von Pflanzen');
    await page.close();
  } finally {
    server.kill('SIGTERM');
    await new Promise((resolve) => (server.exitCode !== null ? resolve() : server.on('exit', resolve)));
  }
}

try {
  await frames();
  await iframe();
  await include();
} finally {
  await browser.close();
  fs.rmSync(work, { recursive: true, force: true });
}
console.log(failures === 0 ? '\nalle Prüfungen bestanden' : `\n${failures} Fehler`);
process.exit(failures === 0 ? 0 : 1);
