// Pictures that no browser draws (WMF, EMF, TIFF, HEIC) reach the viewer as
// renditions the browser draws, under their own names, in MAIN, the picture
// menu and the thumbnail window; one that cannot be drawn gets 415 and leaves
// the viewer usable.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  clickMenu, launchBrowser, makeAppFolder, openViewer, outputFolder, press, root, shown, startViewer,
  tempFolder, writeBmp, writeJpeg,
} from './support.mjs';

const seeds = path.join(root, 'fuzz/seeds/metafile');
// In the file-name order of the menu.
const pictures = ['a.jpg', 'b.bmp', 'c.wmf', 'd.emf', 'e.tif', 'f.heic', 'g.wmf'];

function makePictures() {
  const folder = tempFolder('renditions');
  writeJpeg(path.join(folder, 'a.jpg'), 200, 150, 'rgb(40,120,200)');
  writeBmp(path.join(folder, 'b.bmp'), 160, 120, [200, 60, 60]);
  fs.copyFileSync(path.join(seeds, 'shapes.wmf'), path.join(folder, 'c.wmf'));
  fs.copyFileSync(path.join(seeds, 'shapes.emf'), path.join(folder, 'd.emf'));
  execFileSync('convert', ['-size', '240x120', 'xc:rgb(60,160,60)', path.join(folder, 'e.tif')]);
  const png = path.join(folder, '..', 'heic-source.png');
  execFileSync('convert', ['-size', '120x240', 'xc:rgb(160,60,160)', png]);
  execFileSync('heif-enc', ['-q', '90', png, '-o', path.join(folder, 'f.heic')], { stdio: 'ignore' });
  fs.writeFileSync(path.join(folder, 'g.wmf'), fs.readFileSync(path.join(seeds, 'shapes.wmf')).subarray(0, 30));
  return folder + '/';
}

// Checks each picture of `loaded` ({name, natural: [w, h]}): a rendition
// has a size and the proportions of its source; the damaged one has none.
const proportions = { 'a.jpg': [200, 150], 'b.bmp': [160, 120], 'e.tif': [240, 120], 'f.heic': [120, 240] };
function assertDrawn({ name, natural: [w, h] }, where) {
  if (name === 'g.wmf') {
    assert.equal(w, 0, `${where}: a damaged metafile shows nothing`);
    return;
  }
  assert.ok(w > 0 && h > 0, `${where} ${name}: ${w}x${h}`);
  if (proportions[name]) {
    const [pw, ph] = proportions[name];
    assert.ok(Math.abs(w / h - pw / ph) < 0.02, `${where} ${name}: ${w}x${h}`);
  }
}

// The pictures of a frame once all have loaded or failed.
function picturesIn(frame) {
  return frame.waitFor(
    () =>
      [...document.images].every((img) => img.complete) &&
      [...document.images]
        .filter((img) => !img.src.includes('/Img/'))
        .map((img) => ({
          name: decodeURIComponent(new URL(img.src).pathname).split('/').pop(),
          natural: [img.naturalWidth, img.naturalHeight],
        })),
  );
}

describe('renditions', () => {
  let browser;
  let windowsBrowser; // for the thumbnail window, which WebKit shows in WebKitGTK
  let pictureFolder;
  const servers = [];

  before(async () => {
    pictureFolder = makePictures();
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    await windowsBrowser?.close();
    for (const server of servers) assert.equal((await server.stop()).code, 0, server.stderr);
  });

  async function viewerWith(ini, inBrowser = browser) {
    const server = await startViewer(pictureFolder, makeAppFolder({ EXE: { PIC: 'JPG,BMP,WMF,EMF,TIF,HEIC' }, ...ini }));
    servers.push(server);
    return openViewer(inBrowser, server.url);
  }

  test('each picture shows in MAIN with its own proportions; an undrawable one gets 415', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0 } });
    for (const name of pictures) {
      await clickMenu(viewer, name);
      await viewer.main.waitFor(
        (name) => decodeURIComponent(new URL(document.PIC.src).pathname).endsWith('/' + name) && document.PIC.complete,
        name,
      );
      const picture = await shown(viewer.main);
      assertDrawn({ name, natural: picture.natural }, 'MAIN');
      if (name === 'g.wmf') {
        assert.equal(await viewer.main.evaluate(async () => (await fetch(document.PIC.src)).status), 415);
      }
    }
    // Still usable after the refusal.
    await clickMenu(viewer, 'c.wmf');
    await viewer.main.waitFor(() => document.PIC.complete && document.PIC.naturalWidth > 0);
    await viewer.window.screenshot(path.join(outputFolder, 'viewer-rendition.png'));
    assert.deepEqual(await viewer.window.errors(), []);
  });

  test('the picture menu and the thumbnail window show the renditions too', async () => {
    windowsBrowser = await launchBrowser({ windows: true });
    const viewer = await viewerWith({ MENU: { SHOW: 1, SMALL_POS: 0 }, SUM: { SHOW_NAME: 1, NAME_TYPE1: 1 } }, windowsBrowser);
    const menu = await picturesIn(viewer.menu);
    assert.deepEqual(menu.map((picture) => picture.name), pictures);
    for (const picture of menu) assertDrawn(picture, 'menu');

    const popup = await viewer.window.opened(() => press(viewer.btns, 'BtnSum'), 'sum_frame.htm');
    const show = popup.frame('SHOW');
    await show.waitFor(() => document.images.length > 0);
    const thumbnails = await picturesIn(show);
    assert.deepEqual(thumbnails.map((picture) => picture.name), pictures);
    for (const picture of thumbnails) assertDrawn(picture, 'thumbnail window');
    await popup.screenshot(path.join(outputFolder, 'thumbnails-rendition.png'));

    // A click on the EMF's thumbnail shows it in the viewer.
    await show.click('img', { index: pictures.indexOf('d.emf') });
    await viewer.main.waitFor(
      () => decodeURIComponent(document.PIC.src).endsWith('/d.emf') && document.PIC.complete && document.PIC.naturalWidth > 0,
    );
    await popup.close();
  });
});
