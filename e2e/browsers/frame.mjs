// What the tests do inside one document, the same in every engine. An engine
// gives `evaluate(fn, arg)` (runs fn(arg) in the document, awaits a promise,
// returns plain data), `clickNth(css, index)` (a real click on the index-th
// element matching css) and `sendKey(key)` (a real key press, to whatever
// has the focus); the rest is built on those here.

export class Frame {
  // Runs fn(arg) until it returns something truthy and returns that, or
  // throws after `timeout` ms with the last answer or error. A document in
  // the middle of loading may throw; that counts as not yet.
  async waitFor(fn, arg, { timeout = 15000, interval = 40 } = {}) {
    const end = Date.now() + timeout;
    let last;
    for (;;) {
      try {
        const value = await this.evaluate(fn, arg);
        if (value) return value;
        last = value;
      } catch (error) {
        last = error;
      }
      if (Date.now() > end) {
        throw new Error(`waited ${timeout} ms for ${String(fn).slice(0, 160)}; last: ${last?.message ?? JSON.stringify(last)}`);
      }
      await new Promise((resolve) => setTimeout(resolve, interval));
    }
  }

  // Clicks the element matching css whose text is `text` (trimmed), or the
  // `index`-th one.
  async click(css, { text, index = 0 } = {}) {
    const at =
      text === undefined
        ? index
        : await this.evaluate(
            ([css, text]) => [...document.querySelectorAll(css)].findIndex((element) => element.textContent.trim() === text),
            [css, text],
          );
    if (at < 0) throw new Error(`no ${css} reads ${JSON.stringify(text)}`);
    await this.clickNth(css, at);
  }

  // Presses `key` (a KeyboardEvent key: "ArrowRight", "Home", "PageDown",
  // " ", "+", "f", ...) in this document, after a click on the first element
  // matching `focus` has given it the focus.
  async press(key, { focus } = {}) {
    if (focus) await this.clickNth(focus, 0);
    await this.sendKey(key);
  }

  // The text of each element matching css, as in the document.
  texts(css) {
    return this.evaluate((css) => [...document.querySelectorAll(css)].map((element) => element.textContent), css);
  }

  // The text of each element matching css, as rendered.
  innerTexts(css) {
    return this.evaluate((css) => [...document.querySelectorAll(css)].map((element) => element.innerText), css);
  }

  count(css) {
    return this.evaluate((css) => document.querySelectorAll(css).length, css);
  }
}

// The script an engine without native error events installs in every
// document it evaluates in, so that errors after that point are seen.
export const errorRecorder = `if (!window.__vimbrelErrors) {
  window.__vimbrelErrors = [];
  window.addEventListener('error', (event) => window.__vimbrelErrors.push(event.message));
}`;
