// Names that need care: each picture loads in MAIN, in the menu and in the
// thumbnail window, and its name reads right where names are shown.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  launchBrowser, makeAppFolder, openViewer, outputFolder, press, startViewer, tempFolder, windows,
  writeBmp, writeJpeg,
} from './support.mjs';

// Every name gets its own width, so a loaded picture tells which file came.
// Windows takes no ? " \ < > in a name, and only names of characters.
const odd = [
  'a b.bmp', 'a&b.bmp', '&amp.bmp', '#1.bmp', '100%.bmp', '50%41.bmp', 'q?.bmp', "it's.bmp",
  'say "hi".bmp', 'back\\slash.bmp', '表示.jpg', 'ソース.jpg', 'ｶﾀｶﾅ.bmp', '😀.bmp', '¥100.bmp',
  '波〜.bmp', '<b>.bmp', '<!--x.bmp', '～－∥￠￢ⅰ纊①.bmp', '−‖¢¬‾é.bmp',
].filter((name) => !windows || !/[?"\\<>]/.test(name));
const notUtf8 = Buffer.from([0x62, 0x61, 0x64, 0xff, 0x2e, 0x62, 0x6d, 0x70]); // "bad", 0xFF, ".bmp"
const widthOf = new Map(odd.map((name, i) => [name, 120 + 6 * i]));
const notUtf8Width = 400;
const notUtf8Shown = 'bad\uFFFD.bmp';

function makePictures() {
  const folder = tempFolder('names');
  for (const [i, name] of odd.entries()) {
    const file = path.join(folder, name);
    if (name.endsWith('.jpg')) writeJpeg(file, widthOf.get(name), 90, `rgb(${i * 12},90,160)`);
    else writeBmp(file, widthOf.get(name), 90, [i * 12, 160, 90]);
  }
  // A name that is no UTF-8 exists on Linux only.
  if (!windows) {
    const bad = path.join(folder, 'bad.bmp');
    writeBmp(bad, notUtf8Width, 90, [200, 200, 40]);
    fs.renameSync(bad, Buffer.concat([Buffer.from(folder + '/'), notUtf8]));
  }
  return folder + '/';
}

// The file an image URL reaches, as the name the test gave it.
// The byte 0xFF, which is not UTF-8, arrives as %FF and is taken as U+FFFD.
const nameInBrowser = `(url) => {
  const last = new URL(url).pathname.split('/').pop();
  return decodeURIComponent(last.replace(/%FF/gi, '%EF%BF%BD'));
}`;

// What a name shows as where the thumbnail window also loads it by that name:
// the characters a URL must escape keep their escape there.
const withUrlEscapes = (name) =>
  name === notUtf8Shown
    ? 'bad%FF.bmp'
    : name.replace(/%/g, '%25').replace(/#/g, '%23').replace(/\?/g, '%3F').replace(/\\/g, '%5C');

describe('odd names', () => {
  let browser;
  let pictureFolder;
  const servers = [];
  const all = windows ? [...odd] : [...odd, notUtf8Shown];
  const expectedWidth = (name) => (name === notUtf8Shown ? notUtf8Width : widthOf.get(name));

  before(async () => {
    pictureFolder = makePictures();
    browser = await launchBrowser({ windows: true });
  });
  after(async () => {
    await browser?.close();
    for (const server of servers) assert.equal((await server.stop()).code, 0, server.stderr);
  });

  async function viewerWith(ini) {
    const server = await startViewer(pictureFolder, makeAppFolder(ini));
    servers.push(server);
    return openViewer(browser, server.url);
  }

  async function openThumbnails(viewer) {
    const popup = await viewer.window.opened(() => press(viewer.btns, 'BtnSum'), 'sum_frame.htm');
    const show = popup.frame('SHOW');
    await show.waitFor(() => document.images.length > 0);
    return { popup, show };
  }

  // The pictures of a frame once all have loaded: name, path, loaded width.
  async function images(frame) {
    return frame.waitFor((nameInBrowser) => {
      const nameOf = eval(nameInBrowser);
      const all = [...document.images];
      return (
        all.every((img) => img.complete) &&
        all.map((img) => ({ name: nameOf(img.src), path: new URL(img.src).pathname, loaded: img.naturalWidth }))
      );
    }, nameInBrowser);
  }

  test('file-name menu, MAIN and thumbnails with small images', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, SMALL_POS: 1 }, SUM: { SHOW_NAME: 1, NAME_TYPE1: 1 } });
    const links = await viewer.menu.texts('a');
    assert.deepEqual([...links].sort(), [...all].sort());

    for (const [i, name] of all.entries()) {
      await viewer.menu.click('a', { index: links.indexOf(name) });
      const now = await viewer.main.waitFor(
        ([name, nameInBrowser]) => {
          const pic = document.PIC;
          return eval(nameInBrowser)(pic.src) === name && pic.complete && pic.naturalWidth > 0 && pic.naturalWidth;
        },
        [name, nameInBrowser],
        { timeout: 5000 },
      );
      assert.equal(now, expectedWidth(name), `${i} ${name}`);
    }
    await viewer.window.screenshot(path.join(outputFolder, 'names-viewer.png'));

    const window = await openThumbnails(viewer);
    const thumbs = await images(window.show);
    assert.equal(thumbs.length, all.length);
    for (const thumb of thumbs) {
      assert.equal(thumb.loaded, 100, thumb.path);
      assert.ok(thumb.path.includes('/img_s/'), thumb.path);
    }
    const cellTexts = (await window.show.innerTexts('td')).map((t) => t.trim());
    assert.deepEqual(cellTexts.filter(Boolean).sort(), [...all].sort());

    // A click on the thumbnail of "#1.bmp" shows that picture.
    await window.show.click('img', { index: cellTexts.indexOf('#1.bmp') });
    await viewer.main.waitFor(
      ([nameInBrowser]) => eval(nameInBrowser)(document.PIC.src) === '#1.bmp' && document.PIC.naturalWidth > 0,
      [nameInBrowser],
    );
    await window.popup.screenshot(path.join(outputFolder, 'names-thumbnails.png'));
    assert.deepEqual([...(await viewer.window.errors()), ...(await window.popup.errors())], []);
    await window.popup.close();
  });

  test('picture menu and thumbnails of the pictures themselves', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 1, SMALL_POS: 0 }, SUM: { SHOW_NAME: 1, NAME_TYPE1: 0 } });
    const menu = await images(viewer.menu);
    assert.deepEqual(menu.map((image) => image.name).sort(), [...all].sort());
    for (const image of menu) assert.equal(image.loaded, expectedWidth(image.name), image.name);

    const window = await openThumbnails(viewer);
    const thumbs = await images(window.show);
    assert.deepEqual(thumbs.map((thumb) => thumb.name).sort(), [...all].sort());
    for (const thumb of thumbs) assert.equal(thumb.loaded, expectedWidth(thumb.name), thumb.name);

    const nameCells = (await window.show.innerTexts('tr[bgcolor="#662222"] td'))
      .map((t) => t.trim())
      .filter(Boolean);
    assert.deepEqual(nameCells.sort(), all.map(withUrlEscapes).sort());
    assert.deepEqual([...(await viewer.window.errors()), ...(await window.popup.errors())], []);
    await window.popup.close();
  });
});
