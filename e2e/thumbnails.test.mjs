// The thumbnail window: 24 pictures a page, page links, the two cell sizes,
// names in both types, small images and pictures, and a click that shows the
// picture in the viewer.
import assert from 'node:assert/strict';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  launchBrowser, makeAppFolder, openViewer, outputFolder, press, shown, startViewer, tempFolder,
  writeBmp,
} from './support.mjs';

// 25 pictures t00 ... t24; t05 and t17 are narrower than 100 pixels and so
// get no small image.
const narrow = new Set([5, 17]);
const names = Array.from({ length: 25 }, (_, i) => `t${String(i).padStart(2, '0')}.bmp`);

function makePictures() {
  const folder = tempFolder('thumbs');
  for (const [i, name] of names.entries()) {
    const [w, h] = narrow.has(i) ? [80, 60] : [160, 120];
    writeBmp(path.join(folder, name), w, h, [(i * 37) % 256, (i * 91) % 256, 160]);
  }
  return folder + '/';
}

// Opens the thumbnail window from the viewer's last button.
async function openThumbnails(viewer) {
  const popup = await viewer.window.opened(() => press(viewer.btns, 'BtnSum'), 'sum_frame.htm');
  const head = () => popup.frame('HEAD');
  const show = () => popup.frame('SHOW');
  await show().waitFor(() => document.images.length > 0);
  return { popup, head, show };
}

// The thumbnails of SHOW, once all have loaded: source path (decoded),
// width, loaded width.
async function thumbnails(show) {
  return show.waitFor(
    () =>
      [...document.images].every((img) => img.complete) &&
      [...document.images].map((img) => ({
        path: decodeURIComponent(new URL(img.src).pathname),
        width: img.width,
        loaded: img.naturalWidth,
      })),
  );
}

// Waits for both frames to be reloaded after a link in HEAD.
async function clickHead(window, text) {
  const before = await window.show().evaluate(() => performance.timeOrigin);
  await window.head().click('a', { text });
  await window.popup.waitFor(
    (before) => {
      const show = window.frames['SHOW'];
      return show.performance.timeOrigin !== before && show.document.readyState === 'complete';
    },
    before,
  );
}

describe('thumbnail window', () => {
  let browser;
  let pictureFolder;
  const servers = [];

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

  test('pages of 24, page links, cell sizes, names under the pictures, click to view', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, SMALL_POS: 1 }, SUM: { SHOW_NAME: 1, NAME_TYPE1: 1 } });
    const window = await openThumbnails(viewer);

    const [headText] = await window.head().innerTexts('body');
    assert.match(headText, /画像数：25枚/);
    assert.match(headText, /PAGE：1\/2/);
    assert.deepEqual(await window.head().texts('a'), ['100', '50', '前へ', '1', '2', '次へ']);

    const first = await thumbnails(window.show());
    assert.equal(first.length, 24);
    assert.equal(await window.show().count('tr'), 4);
    for (const [i, thumb] of first.entries()) {
      const expected = narrow.has(i) ? '/' + names[i] : `/img_s/t${String(i).padStart(2, '0')}.jpg`;
      assert.ok(thumb.path.endsWith(expected) && !thumb.path.endsWith('/img_s/' + names[i]), thumb.path);
      assert.equal(thumb.width, 100);
      assert.equal(thumb.loaded, narrow.has(i) ? 80 : 100);
    }
    const cellTexts = await window.show().innerTexts('td');
    assert.deepEqual(cellTexts.map((text) => text.trim()), names.slice(0, 24));
    await window.popup.screenshot(path.join(outputFolder, 'thumbnails-page1.png'));

    // Page 2: one picture and five blank cells.
    await clickHead(window, '2');
    const second = await thumbnails(window.show());
    assert.equal(second.length, 1);
    assert.ok(second[0].path.endsWith('/img_s/t24.jpg'));
    assert.equal(await window.show().count('td'), 6);
    assert.match((await window.head().innerTexts('body'))[0], /PAGE：2\/2/);
    await clickHead(window, '前へ');
    assert.equal((await thumbnails(window.show())).length, 24);
    await clickHead(window, '次へ');
    assert.equal((await thumbnails(window.show())).length, 1);

    // 50-pixel cells: no names, a narrower window, the short page number.
    const wideWindow = await window.popup.evaluate(() => window.outerWidth);
    await clickHead(window, '50');
    const small = await thumbnails(window.show());
    assert.deepEqual(small.map((thumb) => thumb.width), [50]);
    assert.deepEqual((await window.show().innerTexts('td')).map((t) => t.trim()).filter(Boolean), []);
    assert.match((await window.head().innerTexts('body'))[0], /2\/2\s+P/);
    assert.doesNotMatch((await window.head().innerTexts('body'))[0], /画像数/);
    const narrowWindow = await window.popup.evaluate(() => window.outerWidth);
    assert.ok(narrowWindow < wideWindow, `window ${wideWindow} -> ${narrowWindow}`);
    await clickHead(window, '前へ');
    await window.popup.screenshot(path.join(outputFolder, 'thumbnails-50.png'));
    await clickHead(window, '100');
    assert.ok((await window.popup.evaluate(() => window.outerWidth)) > narrowWindow);
    assert.equal((await thumbnails(window.show()))[0].width, 100);

    // A click on a thumbnail shows that picture in the viewer.
    for (const i of [7, 17]) {
      await window.show().click('img', { index: i });
      await viewer.main.waitFor(
        (name) => decodeURIComponent(new URL(document.PIC.src).pathname).endsWith('/' + name),
        names[i],
      );
      assert.equal((await shown(viewer.main)).file, names[i]);
    }
    await viewer.window.screenshot(path.join(outputFolder, 'viewer-after-thumbnail.png'));
    await window.popup.close();
  });

  test('names in a row of their own, and pictures only when no small images are made', async () => {
    const viewer = await viewerWith({ MENU: { SHOW: 0, SMALL_POS: 0 }, SUM: { SHOW_NAME: 1, NAME_TYPE1: 0 } });
    const window = await openThumbnails(viewer);
    const thumbs = await thumbnails(window.show());
    assert.equal(thumbs.length, 24);
    for (const [i, thumb] of thumbs.entries()) {
      assert.ok(thumb.path.endsWith('/' + names[i]) && !thumb.path.includes('/img_s/'), thumb.path);
      assert.equal(thumb.loaded, narrow.has(i) ? 80 : 160);
    }
    // Four rows of pictures, each followed by its row of names.
    assert.equal(await window.show().count('tr'), 8);
    assert.equal(await window.show().count('tr[bgcolor="#662222"]'), 4);
    assert.deepEqual(
      (await window.show().innerTexts('tr[bgcolor="#662222"]:nth-of-type(4) td')).map((t) => t.trim()),
      names.slice(6, 12),
    );
    await window.popup.screenshot(path.join(outputFolder, 'thumbnails-name-rows.png'));

    await clickHead(window, '2');
    assert.equal(await window.show().count('tr'), 2);
    const lastRow = (await window.show().innerTexts('tr[bgcolor="#662222"] td')).map((t) => t.trim());
    assert.deepEqual(lastRow, ['t24.bmp', '', '', '', '', '']);
    await window.popup.close();
  });
});
