// Frames and windows of the engines driven through a page object of their
// own (playwright-core for Chromium, puppeteer-core for Firefox): both give
// frames with evaluate() and $$(), pages with screenshot(), close() and
// 'pageerror' events.
import { Frame } from './frame.mjs';

export class FoundFrame extends Frame {
  // `find` gives the engine's frame anew on each call: a frame that reloads
  // may be a new object.
  constructor(find) {
    super();
    this.find = find;
  }

  frameNow() {
    const frame = this.find();
    if (!frame) throw new Error('frame not there (yet)');
    return frame;
  }

  evaluate(fn, arg) {
    return this.frameNow().evaluate(fn, arg);
  }

  async clickNth(css, index) {
    const elements = await this.frameNow().$$(css);
    if (!elements[index]) throw new Error(`no ${css} number ${index}`);
    await elements[index].click();
  }

  sendKey(key) {
    // Both drivers name the space bar "Space" and take other keys by their
    // key value.
    return this.frameNow().page().keyboard.press(key === ' ' ? 'Space' : key);
  }
}

// A top-level window; subclasses say how to find a named frame and a window
// this one opens.
export class PageWindow extends FoundFrame {
  constructor(page) {
    super(() => page.mainFrame());
    this.page = page;
    this.pageErrors = [];
    page.on('pageerror', (error) => this.pageErrors.push(error.message));
  }

  screenshot(file) {
    return this.page.screenshot({ path: file });
  }

  async errors() {
    return this.pageErrors;
  }

  close() {
    return this.page.close();
  }
}

// The browser object the tests get, over one PageWindow that every open()
// navigates.
export function pageBrowser(name, version, window, close) {
  return {
    name,
    version,
    async open(url) {
      const response = await window.page.goto(url);
      return { status: response.status(), window };
    },
    close,
  };
}
