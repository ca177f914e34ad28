// The browser engine the tests run in: VIMBREL_ENGINE=chromium (the
// default), firefox or webkit. Every engine gives the same small interface:
//   browser.open(url) -> { status, window }, browser.close(), browser.name,
//   browser.version;
//   window.frame(name), window.opened(action, urlPart), window.screenshot(file),
//   window.errors(), window.close();
//   frames and windows: evaluate(fn, arg), waitFor(fn, arg), click(css, {text,
//   index}), texts(css), innerTexts(css), count(css).
import { launchChromium } from './chromium.mjs';
import { launchFirefox } from './firefox.mjs';
import { launchWebKit } from './webkit.mjs';

export const engine = process.env.VIMBREL_ENGINE ?? 'chromium';
const viewport = { width: 1000, height: 700 };
// How long a browser may take to start before that counts as a failure.
const defaultStartTimeout = 60000;

// Starts the engine; a browser that cannot start throws, so the tests that
// need it fail rather than pass unseen. `windows`: the test opens windows
// from the page (in WebKit this takes WebKitGTK instead of cog).
export async function launchEngine(profile, { windows = false, startTimeout = defaultStartTimeout } = {}) {
  const options = { ...viewport, startTimeout };
  switch (engine) {
    case 'chromium':
      return launchChromium(profile, options);
    case 'firefox':
      return launchFirefox(options);
    case 'webkit':
      return launchWebKit({ ...options, windows });
    default:
      throw new Error(`unknown VIMBREL_ENGINE ${engine}: chromium, firefox or webkit`);
  }
}
