// Chromium from Debian, driven by playwright-core over its DevTools protocol.
import { chromium } from 'playwright-core';

import { FoundFrame, PageWindow, pageBrowser } from './page_window.mjs';

class ChromiumWindow extends PageWindow {
  frame(name) {
    return new FoundFrame(() => this.page.frame({ name }));
  }

  // Runs `action` and returns the window it opens.
  async opened(action) {
    const [popup] = await Promise.all([this.page.waitForEvent('popup'), action()]);
    await popup.waitForLoadState();
    return new ChromiumWindow(popup);
  }
}

export async function launchChromium(profile, { width, height, startTimeout }) {
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    timeout: startTimeout,
    viewport: { width, height },
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      '--no-first-run',
    ],
  });
  const window = new ChromiumWindow(context.pages()[0] ?? (await context.newPage()));
  // The user agent string gives the major version only.
  const devtools = await context.newCDPSession(window.page);
  const { product } = await devtools.send('Browser.getVersion');
  await devtools.detach();
  const version = product.replace(/^[^/]*\//, '');
  return pageBrowser('chromium', version, window, () => context.close());
}
