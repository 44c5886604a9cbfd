// Headless Chromium for the template checks and the gallery, driven by the
// playwright-core installed below nodeDir. The flags keep it from reaching
// for the network, which this machine's closed network refuses.
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';

// A require() that resolves packages installed below nodeDir.
export function requireFrom(nodeDir) {
  return createRequire(path.join(path.resolve(nodeDir), 'package.json'));
}

export function launchChromium(require) {
  const { chromium } = require('playwright-core');
  return chromium.launch({
    executablePath: process.env.TW_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    chromiumSandbox: false,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// A function that runs axe-core (WCAG 2.1 A/AA and best practices) in a page
// and returns its violations, one line each.
export function axeCheck(require) {
  const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
  return async (page) => {
    await page.addScriptTag({ content: axeSource });
    return page.evaluate(async () => {
      const result = await window.axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'best-practice'] },
      });
      return result.violations.map((v) => `${v.id} (${v.nodes.length}): ${v.nodes[0].target.join(' ')}`);
    });
  };
}
