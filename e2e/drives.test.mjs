// The Windows program only: pictures on another drive than the Work folder.
// Their folder URL climbs out of the Work folder's drive to the root of the
// served paths and goes down through the other drive ("../../../../Y:/..."),
// since a full path "Y:/..." would be read as a URL of the scheme "y:".
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import {
  clickMenu, launchBrowser, makeAppFolder, openViewer, shown, startViewer, tempFolder, windows,
  writeJpeg,
} from './support.mjs';

describe('pictures on another drive', { skip: !windows && 'needs the Windows program' }, () => {
  let browser;
  let server;
  let drive;
  let letter;

  before(async () => {
    const folder = tempFolder('drive');
    writeJpeg(path.join(folder, 'a.jpg'), 320, 240, 'rgb(200,60,60)', 'a');
    writeJpeg(path.join(folder, '写真 #1 100%.jpg'), 240, 320, 'rgb(60,60,200)', 'b');
    // A drive of Wine's prefix is a link in its dosdevices folder.
    const devices = path.join(process.env.WINEPREFIX ?? path.join(os.homedir(), '.wine'), 'dosdevices');
    letter = ['y', 'x', 'w', 'v'].find((l) => !fs.existsSync(path.join(devices, `${l}:`)));
    drive = path.join(devices, `${letter}:`);
    fs.symlinkSync(folder, drive);
    server = await startViewer(`${letter.toUpperCase()}:\\`, makeAppFolder({ MENU: { SHOW: 0, SMALL_POS: 1 } }), {
      asGiven: true,
    });
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    if (server) assert.equal((await server.stop()).code, 0, server.stderr);
    if (drive) fs.rmSync(drive, { force: true });
  });

  test('the pages reach the pictures and small images through the served root', async () => {
    const work = path.dirname(server.indexPath);
    // Z:\tmp\vimbrel-e2e-app-...\Work\: three names and the drive to climb.
    const up = '../'.repeat(work.split('/').filter(Boolean).length + 1);
    const main = fs.readFileSync(path.join(work, 'main.htm'), 'latin1');
    assert.match(main, new RegExp(`<IMG SRC="${up}${letter.toUpperCase()}:/a\\.jpg"`, 'i'));
    const viewer = await openViewer(browser, server.url);
    assert.equal((await shown(viewer.main)).file, 'a.jpg');
    await clickMenu(viewer, '写真 #1 100%.jpg');
    await viewer.main.waitFor(
      () => decodeURIComponent(document.PIC.src).endsWith('/写真 #1 100%.jpg') && document.PIC.complete,
    );
    assert.deepEqual((await shown(viewer.main)).natural, [240, 320]);
    // The small images went to img_s on that drive.
    const picture = await viewer.main.evaluate(() => document.PIC.src);
    const small = await viewer.main.evaluate(async (url) => (await fetch(url)).status, new URL('img_s/a.jpg', picture).href);
    assert.equal(small, 200);
  });
});

describe('pictures on a network share', { skip: !windows && 'needs the Windows program' }, () => {
  let browser;
  let server;
  let host;

  before(async () => {
    const folder = tempFolder('share');
    writeJpeg(path.join(folder, 'c.jpg'), 300, 200, 'rgb(60,160,60)', 'c');
    // Wine reaches \\HOST\SHARE through dosdevices/unc/HOST/SHARE.
    const devices = path.join(process.env.WINEPREFIX ?? path.join(os.homedir(), '.wine'), 'dosdevices');
    host = path.join(devices, 'unc', `vimbrel-${process.pid}`);
    fs.mkdirSync(host, { recursive: true });
    fs.symlinkSync(folder, path.join(host, 'pictures'));
    server = await startViewer(`\\\\vimbrel-${process.pid}\\pictures`, makeAppFolder({ MENU: { SHOW: 0 } }), {
      asGiven: true,
    });
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    if (server) assert.equal((await server.stop()).code, 0, server.stderr);
    if (host) fs.rmSync(host, { recursive: true, force: true });
  });

  test('the share is reached as UNC/host/share below the served root', async () => {
    const work = path.dirname(server.indexPath);
    const up = '../'.repeat(work.split('/').filter(Boolean).length + 1);
    const main = fs.readFileSync(path.join(work, 'main.htm'), 'latin1');
    assert.match(main, new RegExp(`<IMG SRC="${up}UNC/vimbrel-${process.pid}/pictures/c\\.jpg"`, 'i'));
    const viewer = await openViewer(browser, server.url);
    const picture = await shown(viewer.main);
    assert.equal(picture.file, 'c.jpg');
    assert.deepEqual(picture.natural, [300, 200]);
  });
});
