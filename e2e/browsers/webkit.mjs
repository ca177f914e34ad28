// WebKit, spoken to over W3C WebDriver: WPE WebKit with cog, headless, and,
// where a test needs the windows a page opens (cog shows one window only),
// WebKitGTK's MiniBrowser under a virtual X server of its own.
import { spawn } from 'node:child_process';
import net from 'node:net';

import { Session, WebDriverWindow } from './webdriver.mjs';

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// Child processes, each in a process group of its own so that ending it ends
// the browser the driver started too; ended with this process whatever
// happens.
const children = new Set();
const endGroup = (child, signal) => {
  try {
    process.kill(-child.pid, signal);
  } catch {
    // already gone
  }
};
process.on('exit', () => {
  for (const child of children) endGroup(child, 'SIGKILL');
});

function startChild(program, args, options = {}) {
  const child = spawn(program, args, { stdio: ['ignore', 'ignore', 'pipe'], detached: true, ...options });
  let stderr = '';
  child.stderr?.on('data', (chunk) => (stderr = (stderr + chunk).slice(-4000)));
  children.add(child);
  const exited = new Promise((resolve) => child.on('exit', resolve));
  child.on('exit', () => children.delete(child));
  child.on('error', () => {});
  return {
    child,
    exited,
    get stderr() {
      return stderr;
    },
    async stop() {
      if (child.exitCode === null && child.signalCode === null) endGroup(child, 'SIGTERM');
      await exited;
    },
  };
}

// A port nobody listens on now.
function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
    server.on('error', reject);
  });
}

// An Xvfb of its own; resolves with its display name once it is ready.
async function startXvfb() {
  const xvfb = startChild('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'], {
    stdio: ['ignore', 'ignore', 'pipe', 'pipe'],
  });
  const display = await new Promise((resolve, reject) => {
    let text = '';
    xvfb.child.stdio[3].on('data', (chunk) => {
      text += chunk;
      if (text.includes('\n')) resolve(':' + text.trim());
    });
    xvfb.exited.then((code) => reject(new Error(`Xvfb ended with ${code}: ${xvfb.stderr}`)));
  });
  return { display, stop: () => xvfb.stop() };
}

// Starts `program --port=N` and waits until it answers /status as ready.
async function startDriver(program, env) {
  const port = await freePort();
  const driver = startChild(program, [`--port=${port}`], { env });
  const base = `http://127.0.0.1:${port}`;
  const end = Date.now() + 15000;
  for (;;) {
    if (driver.child.exitCode !== null) throw new Error(`${program} ended: ${driver.stderr}`);
    const ready = await fetch(base + '/status')
      .then((response) => response.json())
      .then((reply) => reply.value?.ready, () => false);
    if (ready) return { base, driver };
    if (Date.now() > end) {
      await driver.stop();
      throw new Error(`${program} did not answer on port ${port}: ${driver.stderr}`);
    }
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

export async function launchWebKit({ width, height, windows = false, startTimeout }) {
  const stops = [];
  const stopAll = async () => {
    for (const stop of stops.reverse()) await stop().catch(() => {});
  };
  try {
    let env = { ...process.env };
    let program = 'WPEWebDriver';
    let capabilities = {
      'wpe:browserOptions': { binary: process.env.COG ?? '/usr/bin/cog', args: ['--automation', '--platform=headless'] },
    };
    if (windows) {
      const xvfb = await startXvfb();
      stops.push(xvfb.stop);
      env = { ...env, DISPLAY: xvfb.display, WAYLAND_DISPLAY: '' };
      program = 'WebKitWebDriver';
      capabilities = { 'webkitgtk:browserOptions': { binary: process.env.MINIBROWSER ?? miniBrowser, args: ['--automation'] } };
    }
    const { base, driver } = await startDriver(program, env);
    stops.push(() => driver.stop());
    const session = await Session.start(base, capabilities, { timeout: startTimeout });
    stops.push(() => session.delete());
    await session.call('POST', '/window/rect', { width, height }).catch(() => {});
    const window = new WebDriverWindow(session, await session.call('GET', '/window'));
    return {
      name: windows ? 'webkitgtk' : 'wpewebkit',
      version: `${session.capabilities.browserName} ${session.capabilities.browserVersion}`,
      async open(url) {
        await session.enter(window.handle, null);
        await session.call('POST', '/url', { url });
        // WebDriver has no HTTP status; the navigation entry has it where the
        // engine fills it in, else the same URL is asked again.
        const status = await window.evaluate(async () => {
          const entry = performance.getEntriesByType('navigation')[0];
          return entry?.responseStatus || (await fetch(location.href)).status;
        });
        return { status, window };
      },
      close: stopAll,
    };
  } catch (error) {
    await stopAll();
    throw error;
  }
}
