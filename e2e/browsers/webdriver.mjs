// A small W3C WebDriver client over fetch, enough for the tests: one session
// with several windows; each command first makes its window and frame the
// current ones, as WebDriver acts on one browsing context at a time.
import fs from 'node:fs';

import { Frame, errorRecorder } from './frame.mjs';

const elementKey = 'element-6066-11e4-a52e-4f735466cecf';

export class Session {
  // Starts a session at the driver listening on `base` (http://host:port).
  // A driver whose browser does not start may take minutes to say so; the
  // wait ends after `timeout` ms.
  static async start(base, capabilities, { timeout }) {
    const value = await command(base, 'POST', '/session', { capabilities: { alwaysMatch: capabilities } }, timeout);
    return new Session(base, value.sessionId, value.capabilities);
  }

  constructor(base, id, capabilities) {
    this.base = base;
    this.id = id;
    this.capabilities = capabilities;
    this.currentHandle = null;
  }

  call(method, path, body) {
    return command(this.base, method, `/session/${this.id}${path}`, body);
  }

  async enter(handle, frameName) {
    if (this.currentHandle !== handle) {
      await this.call('POST', '/window', { handle });
      this.currentHandle = handle;
    }
    await this.call('POST', '/frame', { id: null });
    if (frameName) {
      const element = await this.call('POST', '/element', {
        using: 'css selector',
        value: `frame[name="${frameName}"], iframe[name="${frameName}"]`,
      });
      await this.call('POST', '/frame', { id: element });
    }
  }

  // Ends the session, which closes the browser; a session left open would
  // keep the driver from starting the next one.
  async delete() {
    await this.call('DELETE', '');
  }
}

async function command(base, method, path, body, timeout = 60000) {
  const response = await fetch(base + path, {
    method,
    signal: AbortSignal.timeout(timeout),
    headers: { 'content-type': 'application/json; charset=utf-8' },
    body: body === undefined ? undefined : JSON.stringify(body),
  }).catch((error) => {
    throw new Error(`WebDriver ${method} ${path}: ${error.name === 'TimeoutError' ? `no answer in ${timeout} ms` : error.message}`);
  });
  const text = await response.text();
  const reply = text ? JSON.parse(text) : {};
  if (!response.ok) {
    const { error, message } = reply.value ?? {};
    throw new Error(`WebDriver ${method} ${path}: ${error ?? response.status}: ${message ?? text}`);
  }
  return reply.value;
}

class WebDriverFrame extends Frame {
  constructor(session, handle, frameName) {
    super();
    this.session = session;
    this.handle = handle;
    this.frameName = frameName;
  }

  async evaluate(fn, arg) {
    await this.session.enter(this.handle, this.frameName);
    const script = `${errorRecorder}
      const done = arguments[arguments.length - 1];
      Promise.resolve()
        .then(() => (${fn})(arguments[0]))
        .then((value) => done({ value }), (error) => done({ error: String((error && error.stack) || error) }));`;
    const reply = await this.session.call('POST', '/execute/async', { script, args: [arg ?? null] });
    if (reply.error) throw new Error(reply.error);
    return reply.value;
  }

  // WebDriver's actions name the special keys by code points of its own.
  async sendKey(key) {
    const special = {
      ArrowLeft: '\uE012',
      ArrowUp: '\uE013',
      ArrowRight: '\uE014',
      ArrowDown: '\uE015',
      PageUp: '\uE00E',
      PageDown: '\uE00F',
      End: '\uE010',
      Home: '\uE011',
    };
    const value = special[key] ?? key;
    await this.session.enter(this.handle, this.frameName);
    await this.session.call('POST', '/actions', {
      actions: [{ type: 'key', id: 'keyboard', actions: [{ type: 'keyDown', value }, { type: 'keyUp', value }] }],
    });
    await this.session.call('DELETE', '/actions').catch(() => {});
  }

  async clickNth(css, index) {
    await this.session.enter(this.handle, this.frameName);
    const elements = await this.session.call('POST', '/elements', { using: 'css selector', value: css });
    if (!elements[index]) throw new Error(`no ${css} number ${index}`);
    await this.session.call('POST', `/element/${elements[index][elementKey]}/click`, {});
  }
}

export class WebDriverWindow extends WebDriverFrame {
  constructor(session, handle) {
    super(session, handle, null);
    this.frameNames = new Set();
  }

  frame(name) {
    this.frameNames.add(name);
    return new WebDriverFrame(this.session, this.handle, name);
  }

  async screenshot(file) {
    await this.session.enter(this.handle, null);
    fs.writeFileSync(file, Buffer.from(await this.session.call('GET', '/screenshot'), 'base64'));
  }

  // Runs `action` and returns the window it opens, once that shows a URL
  // containing `urlPart` and has loaded.
  async opened(action, urlPart) {
    const before = new Set(await this.session.call('GET', '/window/handles'));
    await action();
    const handle = await this.newHandle(before, urlPart);
    const window = new WebDriverWindow(this.session, handle);
    await window.waitFor(() => document.readyState === 'complete');
    return window;
  }

  async newHandle(before, urlPart) {
    const end = Date.now() + 15000;
    while (Date.now() < end) {
      for (const handle of await this.session.call('GET', '/window/handles')) {
        if (before.has(handle)) continue;
        await this.session.enter(handle, null);
        if ((await this.session.call('GET', '/url')).includes(urlPart)) return handle;
      }
      await new Promise((resolve) => setTimeout(resolve, 40));
    }
    throw new Error(`no window with ${urlPart} opened`);
  }

  // Errors seen by the recorder in this window and the frames used so far.
  async errors() {
    const all = [];
    for (const frame of [this, ...[...this.frameNames].map((name) => this.frame(name))]) {
      all.push(...(await frame.evaluate(() => window.__vimbrelErrors)));
    }
    return all;
  }

  async close() {
    await this.session.enter(this.handle, null);
    await this.session.call('DELETE', '/window');
    this.session.currentHandle = null;
  }
}
