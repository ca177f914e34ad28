// Pictures that no browser draws (WMF, EMF, TIFF, HEIC) reach the viewer as
// renditions the browser draws, under their own names; one that cannot be
// drawn gets 415 and leaves the viewer usable.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  launchBrowser, makeAppFolder, openViewer, outputFolder, root, shown, startViewer, tempFolder,
  writeBmp, writeJpeg,
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

describe('renditions', () => {
  let context;
  let server;

  before(async () => {
    const app = makeAppFolder({ EXE: { PIC: 'JPG,BMP,WMF,EMF,TIF,HEIC' }, MENU: { SHOW: 0 } });
    server = await startViewer(makePictures(), app);
    context = await launchBrowser();
  });
  after(async () => {
    await context?.close();
    if (server) assert.equal((await server.stop()).code, 0, server.stderr);
  });

  test('each picture shows in MAIN with its own proportions; an undrawable one gets 415', async () => {
    const viewer = await openViewer(context, server.url);
    const expected = { 'a.jpg': [200, 150], 'b.bmp': [160, 120], 'e.tif': [240, 120], 'f.heic': [120, 240] };
    for (const name of pictures) {
      await viewer.menu.locator('a').getByText(name, { exact: true }).click();
      await viewer.main.waitForFunction(
        (name) => decodeURIComponent(new URL(document.PIC.src).pathname).endsWith('/' + name) && document.PIC.complete,
        name,
      );
      const picture = await shown(viewer.main);
      if (name === 'g.wmf') {
        assert.equal(picture.natural[0], 0, 'a damaged metafile shows nothing');
        const status = await viewer.main.evaluate(async (src) => (await fetch(src)).status, await viewer.main.evaluate(() => document.PIC.src));
        assert.equal(status, 415);
        continue;
      }
      assert.ok(picture.natural[0] > 0 && picture.natural[1] > 0, `${name}: ${picture.natural}`);
      if (expected[name]) {
        const [w, h] = expected[name];
        assert.ok(Math.abs(picture.natural[0] / picture.natural[1] - w / h) < 0.02, `${name}: ${picture.natural}`);
      }
    }
    // Still usable after the refusal.
    await viewer.menu.locator('a').getByText('c.wmf', { exact: true }).click();
    await viewer.main.waitForFunction(() => document.PIC.complete && document.PIC.naturalWidth > 0);
    await viewer.page.screenshot({ path: path.join(outputFolder, 'viewer-rendition.png') });
    assert.deepEqual(viewer.errors, []);
  });
});
