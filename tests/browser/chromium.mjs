// Headless Chromium for the template checks and the gallery, driven by the
// playwright-core installed below nodeDir. The flags keep it from reaching
// for the network, which this machine's closed network refuses.
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
