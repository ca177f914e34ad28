// The viewer window: picture 0 at load, the three menu styles, the step,
// size and zoom buttons, and the slide show.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  clickMenu, frameSize, launchBrowser, makeAppFolder, openViewer, outputFolder, press, shown, startViewer,
  tempFolder, writeBmp, writeJpeg,
} from './support.mjs';

// Five pictures of different shapes, in name order p0 ... p4.
const pictures = [
  ['p0.jpg', 640, 480],
  ['p1.jpg', 300, 600],
  ['p2.jpg', 1600, 400],
  ['p3.jpg', 200, 150],
  ['p4.bmp', 240, 360],
];
const names = pictures.map(([name]) => name);
const naturalSize = Object.fromEntries(pictures.map(([name, w, h]) => [name, [w, h]]));

function makePictures() {
  const folder = tempFolder('pictures');
  for (const [i, [name, w, h]] of pictures.entries()) {
    const file = path.join(folder, name);
    if (name.endsWith('.bmp')) writeBmp(file, w, h, [40 + i * 40, 90, 200 - i * 30]);
    else writeJpeg(file, w, h, `rgb(${40 + i * 40},120,${200 - i * 30})`, name);
  }
  return folder + '/';
}

// The size a picture of natural size [pw, ph] gets in a frame of inner size
// [W, H] in size mode 0 (natural), 1 (fit the height), 2 (fit the width) or
// 3 (fit the frame); an image's width and height drop fractions.
function sizeIn(mode, [pw, ph], [W, H]) {
  const w = W * ph;
  const h = H * pw;
  const byHeight = [Math.floor(h / ph), H];
  const byWidth = [W, Math.floor(w / pw)];
  return [[pw, ph], byHeight, byWidth, w < h ? byWidth : byHeight][mode];
}

// Waits until MAIN shows `file` at `size`.
async function expectShown(main, file, size) {
  await main
    .waitFor(
      ([file, [w, h]]) =>
        decodeURIComponent(new URL(document.PIC.src).pathname).endsWith('/' + file) &&
        document.PIC.width === w &&
        document.PIC.height === h,
      [file, size],
      { timeout: 5000 },
    )
    .catch(() => {});
  const now = await shown(main);
  assert.deepEqual([now.file, now.width, now.height], [file, ...size]);
}

async function expectFitted(viewer, file) {
  await expectShown(viewer.main, file, sizeIn(3, naturalSize[file], await frameSize(viewer.main)));
}

// The picture files MAIN is given from now on, consecutive repeats dropped,
// each with the time it was given.
async function recordShown(main) {
  await main.evaluate(() => {
    window.seen = [];
    new MutationObserver(() => {
      const file = decodeURIComponent(new URL(document.PIC.src).pathname).split('/').pop();
      if (window.seen.at(-1)?.file !== file) window.seen.push({ file, at: performance.now() });
    }).observe(document.PIC, { attributes: true, attributeFilter: ['src'] });
  });
  return {
    files: async () => (await main.evaluate(() => window.seen)).map((entry) => entry.file),
    entries: async () => main.evaluate(() => window.seen),
    waitFor: async (file) => main.waitFor((file) => window.seen.at(-1)?.file === file, file, { timeout: 10000 }),
  };
}

// Clicks the menu entry of `file` until MAIN shows it, as a person would
// while a slide show is ending (at most a few seconds).
async function untilMenuActs(viewer, file) {
  for (let attempt = 0; attempt < 20; attempt++) {
    await clickMenu(viewer, file);
    const acted = await viewer.main
      .waitFor(
        (file) => decodeURIComponent(new URL(document.PIC.src).pathname).endsWith('/' + file),
        file,
        { timeout: 250 },
      )
      .then(() => true, () => false);
    if (acted) break;
  }
  await expectFitted(viewer, file);
}

const intervals = { TIME1: 30, TIME2: 100, TIME3: 5 }; // 3 s, 10 s, 0.5 s

describe('viewer', () => {
  let browser;
  let pictureFolder;
  const servers = [];

  before(async () => {
    pictureFolder = makePictures();
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    for (const server of servers) {
      const { code } = await server.stop();
      assert.equal(code, 0, `vimbrel-cli ended with ${code}: ${server.stderr}`);
    }
  });

  async function viewerWith(ini) {
    const server = await startViewer(pictureFolder, makeAppFolder(ini));
    servers.push(server);
    return openViewer(browser, server.url);
  }

  test('file-name menu: picture 0 fitted at load, each entry shows its picture', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, ...intervals } });
    await expectFitted(viewer, 'p0.jpg');
    assert.deepEqual(await viewer.menu.texts('a'), names);
    for (const name of ['p2.jpg', 'p4.bmp', 'p1.jpg']) {
      await clickMenu(viewer, name);
      await expectFitted(viewer, name);
    }
    await viewer.window.screenshot(path.join(outputFolder, 'viewer-file-menu.png'));
    assert.deepEqual(await viewer.window.errors(), []);
  });

  test('number menu counts from 1 and selects from 0', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 2 } });
    await expectFitted(viewer, 'p0.jpg');
    assert.deepEqual(await viewer.menu.texts('a'), ['1', '2', '3', '4', '5']);
    await clickMenu(viewer, '3');
    await expectFitted(viewer, 'p2.jpg');
    await clickMenu(viewer, '5');
    await expectFitted(viewer, 'p4.bmp');
  });

  test('picture menu shows small images 60 pixels wide and selects the picture', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 1, SMALL_POS: 1 } });
    await expectFitted(viewer, 'p0.jpg');
    assert.equal(await viewer.menu.count('img'), 5);
    const sources = await viewer.menu.waitFor(() =>
      [...document.images].every((img) => img.complete) &&
      [...document.images].map((img) => [decodeURIComponent(new URL(img.src).pathname), img.width, img.naturalWidth]),
    );
    for (const [i, [source, width, natural]] of sources.entries()) {
      assert.ok(source.endsWith('/img_s/' + names[i].replace(/\.[^.]*$/, '.jpg')), source);
      assert.equal(width, 60);
      assert.equal(natural, 100);
    }
    await viewer.menu.click('img', { index: 3 });
    await expectFitted(viewer, 'p3.jpg');
    await viewer.window.screenshot(path.join(outputFolder, 'viewer-picture-menu.png'));
  });

  test('first, previous, next and last hold at both ends', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0 } });
    await expectFitted(viewer, 'p0.jpg');
    const steps = [
      ['BtnPrev', 'p0.jpg'],
      ['BtnNext', 'p1.jpg'],
      ['BtnNext', 'p2.jpg'],
      ['BtnLast', 'p4.bmp'],
      ['BtnNext', 'p4.bmp'],
      ['BtnPrev', 'p3.jpg'],
      ['BtnFirst', 'p0.jpg'],
      ['BtnPrev', 'p0.jpg'],
      ['BtnNext', 'p1.jpg'],
    ];
    for (const [button, file] of steps) {
      await press(viewer.btns, button);
      await expectFitted(viewer, file);
    }
  });

  test('the four size modes', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0 } });
    await expectFitted(viewer, 'p0.jpg');
    const frame = await frameSize(viewer.main);
    for (const file of ['p2.jpg', 'p1.jpg', 'p3.jpg']) {
      await clickMenu(viewer, file);
      for (const [mode, button] of ['BtnGen', 'BtnTATE', 'BtnYOKO', 'BtnFIT'].entries()) {
        await press(viewer.btns, button);
        await expectShown(viewer.main, file, sizeIn(mode, naturalSize[file], frame));
      }
    }
    // The mode stays for the next picture.
    await press(viewer.btns, 'BtnYOKO');
    await press(viewer.btns, 'BtnNext');
    await expectShown(viewer.main, 'p4.bmp', sizeIn(2, naturalSize['p4.bmp'], frame));
  });

  test('zoom 1.2 twice is 144 %, back to 100 %, zoom out stops below 50 pixels', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0 } });
    await expectFitted(viewer, 'p0.jpg');
    const fitted = sizeIn(3, naturalSize['p0.jpg'], await frameSize(viewer.main));
    await press(viewer.btns, 'BtnZoom120');
    await press(viewer.btns, 'BtnZoom120');
    await expectShown(viewer.main, 'p0.jpg', fitted.map((side) => Math.floor((side * 144) / 100)));
    await press(viewer.btns, 'BtnZoom100');
    await expectShown(viewer.main, 'p0.jpg', fitted);
    await press(viewer.btns, 'BtnZoom200');
    await expectShown(viewer.main, 'p0.jpg', fitted.map((side) => side * 2));
    await press(viewer.btns, 'BtnZoom100');

    // Halving goes on while both sides are at least 50 pixels.
    let zoom = 100;
    let size = fitted;
    while (Math.min(...size) >= 50) {
      zoom *= 0.5;
      size = fitted.map((side) => Math.floor((side * zoom) / 100));
    }
    for (let i = 0; i < 12; i++) await press(viewer.btns, 'BtnZoom050');
    await expectShown(viewer.main, 'p0.jpg', size);
    await press(viewer.btns, 'BtnZoom080');
    await expectShown(viewer.main, 'p0.jpg', size);
    assert.ok(Math.min(...size) < 50 && Math.min(...size) >= 25, String(size));
  });

  test('slide shows run to their end and stop there, forwards and backwards', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, ...intervals } });
    await expectFitted(viewer, 'p0.jpg');
    await press(viewer.btns, 'BtnTIME3');

    const forwards = await recordShown(viewer.main);
    await press(viewer.btns, 'BtnAutoN');
    await forwards.waitFor('p4.bmp');
    // The show ends one interval after the last picture; from then on the
    // menu acts again, and nothing came between.
    await untilMenuActs(viewer, 'p2.jpg');
    assert.deepEqual(await forwards.files(), [...names.slice(1), 'p2.jpg']);

    await press(viewer.btns, 'BtnLast');
    await expectFitted(viewer, 'p4.bmp');
    const backwards = await recordShown(viewer.main);
    await press(viewer.btns, 'BtnAutoP');
    await backwards.waitFor('p0.jpg');
    await untilMenuActs(viewer, 'p3.jpg');
    assert.deepEqual(await backwards.files(), [...names.slice(0, 4).reverse(), 'p3.jpg']);
  });

  test('during a slide show menu, steps and zoom do nothing; size, interval and stop act', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, ...intervals } });
    await expectFitted(viewer, 'p0.jpg');
    await press(viewer.btns, 'BtnTIME2'); // 10 s: nothing moves on while we try
    await press(viewer.btns, 'BtnAutoN');
    await expectFitted(viewer, 'p1.jpg');
    const fitted = sizeIn(3, naturalSize['p1.jpg'], await frameSize(viewer.main));

    await clickMenu(viewer, 'p3.jpg');
    for (const button of ['BtnNext', 'BtnPrev', 'BtnFirst', 'BtnLast', 'BtnZoom200', 'BtnZoom050']) {
      await press(viewer.btns, button);
    }
    const still = await shown(viewer.main);
    assert.deepEqual([still.file, still.width, still.height], ['p1.jpg', ...fitted]);

    await press(viewer.btns, 'BtnGen');
    await expectShown(viewer.main, 'p1.jpg', naturalSize['p1.jpg']);
    await press(viewer.btns, 'BtnFIT');
    await expectShown(viewer.main, 'p1.jpg', fitted);

    await press(viewer.btns, 'BtnStop');
    await clickMenu(viewer, 'p3.jpg');
    await expectFitted(viewer, 'p3.jpg');

    // A new interval applies from the next step on: 3 s to the first step,
    // then 0.5 s.
    await press(viewer.btns, 'BtnFirst');
    await expectFitted(viewer, 'p0.jpg');
    await press(viewer.btns, 'BtnTIME1');
    const record = await recordShown(viewer.main);
    await press(viewer.btns, 'BtnAutoN');
    await press(viewer.btns, 'BtnTIME3');
    await record.waitFor('p4.bmp');
    const entries = await record.entries();
    assert.deepEqual(entries.map((entry) => entry.file), names.slice(1));
    const firstGap = entries[1].at - entries[0].at;
    const laterGap = entries[3].at - entries[2].at;
    assert.ok(laterGap * 3 < firstGap, `steps after ${firstGap} ms, then ${laterGap} ms`);
  });
});
