// The helper script the server adds to the pages it serves: tooltips on the
// twenty buttons, the keys in every frame and in the thumbnail window, a
// thumbnail head whose links all stay in view with 1,000 pictures, and the
// viewer windows' signs of life. The files in Work/ stay as written.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  buttons, launchBrowser, makeAppFolder, openViewer, outputFolder, press, shown, startViewer, tempFolder,
  writeBmp,
} from './support.mjs';

function picturesOf(count, label) {
  const folder = tempFolder(label);
  for (let i = 0; i < count; i++) {
    const name = `k${String(i).padStart(4, '0')}.bmp`;
    writeBmp(path.join(folder, name), 160 + (i % 5) * 20, 120, [(i * 37) % 256, (i * 91) % 256, 160]);
  }
  return folder + '/';
}

// What the viewer shows: the file of MAIN and the viewer script's state.
async function state(viewer) {
  const { file } = await shown(viewer.main);
  const script = await viewer.window.evaluate(() => ({ zoom: img_zoom, mode: size_mode, auto: is_auto }));
  return { file, ...script };
}

async function waitForState(viewer, expected) {
  const end = Date.now() + 5000;
  let now;
  for (;;) {
    now = await state(viewer);
    if (Object.entries(expected).every(([key, value]) => now[key] === value)) return now;
    if (Date.now() > end) break;
    await new Promise((resolve) => setTimeout(resolve, 40));
  }
  assert.deepEqual(now, { ...now, ...expected });
}

// The presence the server has of the viewer windows.
async function presence(server) {
  const url = new URL(server.url);
  const token = url.pathname.split('/')[1];
  return (await fetch(`${url.origin}/${token}~/presence`)).json();
}

async function waitForPresence(server, test) {
  const end = Date.now() + 10000;
  let now;
  while (Date.now() < end) {
    now = await presence(server);
    if (test(now)) return now;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
  assert.fail(`presence stayed ${JSON.stringify(now)}`);
}

describe('the helper of the served pages', () => {
  let browser;
  let server;
  let viewer;

  before(async () => {
    server = await startViewer(picturesOf(5, 'keys'), makeAppFolder({ MENU: { SHOW: 0 } }));
    browser = await launchBrowser();
    viewer = await openViewer(browser, server.url);
  });
  after(async () => {
    await browser?.close();
    if (server) assert.equal((await server.stop()).code, 0, server.stderr);
  });

  test('every button shows its text as a tooltip and names itself', async () => {
    const labelled = await viewer.btns.evaluate(() =>
      [...document.querySelectorAll('a img')].map((img) => ({
        name: img.src.split('/').pop().replace('.gif', ''),
        alt: img.alt,
        title: img.title,
        label: img.parentElement.getAttribute('aria-label'),
      })),
    );
    assert.deepEqual(labelled.map((button) => button.name).sort(), [...buttons].sort());
    for (const button of labelled) {
      assert.ok(button.alt.trim().length > 0, button.name);
      assert.equal(button.title, button.alt, button.name);
      assert.equal(button.label, button.alt, button.name);
    }
  });

  test('the keys do what the buttons do, in every frame of the viewer', async () => {
    const { main, btns, menu } = viewer;
    await main.press('ArrowRight', { focus: 'img' });
    await waitForState(viewer, { file: 'k0001.bmp' });
    await main.press('ArrowLeft');
    await waitForState(viewer, { file: 'k0000.bmp' });
    await main.press('End');
    await waitForState(viewer, { file: 'k0004.bmp' });
    await main.press('Home');
    await waitForState(viewer, { file: 'k0000.bmp' });
    await main.press('+');
    await waitForState(viewer, { zoom: 120 });
    await main.press('-');
    await waitForState(viewer, { zoom: 96 });
    await main.press('0');
    await waitForState(viewer, { mode: 0 });
    await main.press('f');
    await waitForState(viewer, { mode: 3 });
    // The button bar, focused on its empty cell, and the menu.
    await btns.press('ArrowRight', { focus: 'td:empty' });
    await waitForState(viewer, { file: 'k0001.bmp' });
    await menu.click('a', { text: 'k0003.bmp' });
    await menu.press('ArrowRight');
    await waitForState(viewer, { file: 'k0004.bmp' });
    // Space starts the slide show and, while it runs, stops it (from the
    // first picture, so that the show has somewhere to go).
    await main.press('Home', { focus: 'img' });
    await waitForState(viewer, { file: 'k0000.bmp' });
    await main.press(' ');
    await waitForState(viewer, { auto: true });
    await main.press(' ');
    await waitForState(viewer, { auto: false });
    assert.deepEqual(await viewer.window.errors(), []);
  });

  test('the pages in Work/ stay as written; the answer adds one script', async () => {
    const file = fs.readFileSync(server.indexPath);
    const served = Buffer.from(await (await fetch(server.url)).arrayBuffer());
    const token = new URL(server.url).pathname.split('/')[1];
    const added = Buffer.from(`<SCRIPT SRC="/${token}~/helper.js"></SCRIPT>`);
    const at = file.indexOf('<HEAD>') + '<HEAD>'.length;
    assert.deepEqual(served, Buffer.concat([file.subarray(0, at), added, file.subarray(at)]));
  });

  test('a viewer window says it is open, and that it went', async () => {
    await waitForPresence(server, (now) => now.shown && now.open >= 1);
    const gone = await browser.open('about:blank').catch(() => null);
    assert.ok(gone !== undefined);
    await waitForPresence(server, (now) => now.open === 0);
    // Shown again (a query of its own, so that no cache answers 304).
    viewer = await openViewer(browser, server.url + '?again');
    await waitForPresence(server, (now) => now.open >= 1);
  });
});

describe('the thumbnail window with 1,000 pictures', () => {
  let browser;
  let server;

  before(async () => {
    server = await startViewer(picturesOf(1000, 'thousand'), makeAppFolder({ MENU: { SHOW: 0 } }));
    browser = await launchBrowser({ windows: true });
  });
  after(async () => {
    await browser?.close();
    if (server) assert.equal((await server.stop()).code, 0, server.stderr);
  });

  test('every link of the head is in view at 700 pixels, and the page keys step', async () => {
    const viewer = await openViewer(browser, server.url);
    const popup = await viewer.window.opened(() => press(viewer.btns, 'BtnSum'), 'sum_frame.htm');
    await popup.evaluate(() => window.resizeTo(700, 600));
    const head = popup.frame('HEAD');
    const show = popup.frame('SHOW');
    await show.waitFor(() => document.images.length === 24);
    const outside = await head.waitFor(
      () => {
        const links = [...document.links];
        if (links.length !== 42 + 4 || window.outerWidth > 760) return false;
        const cut = links
          .filter((link) => {
            const box = link.getBoundingClientRect();
            return box.top < 0 || box.left < 0 || box.bottom > innerHeight + 0.5 || box.right > innerWidth + 0.5;
          })
          .map((link) => link.textContent);
        return { cut, width: innerWidth, height: innerHeight };
      },
      undefined,
      { timeout: 10000 },
    );
    await popup.screenshot(path.join(outputFolder, 'thumbnail-head-1000.png'));
    assert.deepEqual(outside.cut, [], JSON.stringify(outside));
    // Each page step loads SHOW anew: its first thumbnail tells the page.
    const onPage = async (page) => {
      await popup.waitFor((page) => page_idx === page, page);
      const first = `k${String((page - 1) * 24).padStart(4, '0')}`;
      await show.waitFor((first) => document.readyState === 'complete' && document.images[0]?.src.includes(first), first);
    };
    await show.press('PageDown', { focus: 'img' });
    await onPage(2);
    await show.press('PageDown', { focus: 'img' });
    await onPage(3);
    await show.press('PageUp', { focus: 'img' });
    await onPage(2);
    // The arrows step the viewer from the thumbnail window too.
    const before = (await shown(viewer.main)).file;
    await show.press('ArrowRight', { focus: 'img' });
    await viewer.main.waitFor((before) => !document.PIC.src.endsWith('/' + before), before);
  });
});
