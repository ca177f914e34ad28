// Firefox ESR from Debian, driven by puppeteer-core over WebDriver BiDi.
// Frames have no names in this mode, so they are found by the file they
// show; a window opened by the page is found by its URL.
import puppeteer from 'puppeteer-core';

import { FoundFrame, PageWindow, pageBrowser } from './page_window.mjs';

// The file each named frame of the viewer and the thumbnail window shows.
const frameFiles = {
  MAIN: 'main.htm',
  MENU: 'menu.htm',
  BTNS: 'btns.htm',
  HEAD: 'sum_head.htm',
  SHOW: 'sum_main.htm',
};

class FirefoxWindow extends PageWindow {
  constructor(browser, page) {
    super(page);
    this.browser = browser;
  }

  frame(name) {
    const file = frameFiles[name];
    if (!file) throw new Error(`no frame file known for ${name}`);
    return new FoundFrame(() =>
      this.page
        .frames()
        .find((frame) => frame !== this.page.mainFrame() && new URL(frame.url()).pathname.endsWith('/' + file)),
    );
  }

  async opened(action, urlPart) {
    const target = this.browser.waitForTarget((target) => target.url().includes(urlPart), { timeout: 15000 });
    await action();
    const page = await (await target).page();
    await page.waitForFunction(() => document.readyState === 'complete');
    return new FirefoxWindow(this.browser, page);
  }
}

export async function launchFirefox({ width, height, startTimeout }) {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.FIREFOX ?? '/usr/bin/firefox-esr',
    headless: true,
    timeout: startTimeout,
    defaultViewport: { width, height },
  });
  const window = new FirefoxWindow(browser, (await browser.pages())[0] ?? (await browser.newPage()));
  return pageBrowser('firefox', (await browser.version()).replace(/^firefox\//, ''), window, () => browser.close());
}
