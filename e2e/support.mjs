// Shared helpers of the browser tests: pictures and app folders made by the
// test, a `vimbrel-cli show --serve` run over them, and the browser engine
// chosen by VIMBREL_ENGINE (see browsers/index.mjs).
import { execFileSync, spawn } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { engine, launchEngine } from './browsers/index.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.dirname(here);

export const cli =
  process.env.VIMBREL_CLI ??
  [path.join(root, 'build-sanitize/Vimbrel/vimbrel-cli'), path.join(root, 'build/Vimbrel/vimbrel-cli')].find(
    (candidate) => fs.existsSync(candidate),
  ) ??
  path.join(root, 'build-sanitize/Vimbrel/vimbrel-cli');

// A Windows vimbrel-cli.exe runs under Wine (WINEPREFIX as the caller set
// it); its paths are Wine's, with "/" as the drive Z:.
export const windows = cli.toLowerCase().endsWith('.exe');
const wineEnvironment = { WINEDEBUG: '-all' };

// A path of this machine as the program under test names it.
export function programPath(file) {
  return windows ? 'Z:' + file.replaceAll('/', '\\') : file;
}

// The URL path under which the server serves a file of this machine: the
// path itself, or on Windows the path on drive Z: ("/Z:/tmp/...").
export function servedPath(file) {
  return windows ? '/Z:' + file : file;
}

// A path the program printed, as this machine names it.
function localPath(printed) {
  return windows ? printed.replace(/^[Zz]:/, '').replaceAll('\\', '/') : printed;
}

// Screenshots, one folder per engine (and one for the Windows program).
export const outputFolder = path.join(here, 'output', windows ? `${engine}-windows` : engine);
fs.mkdirSync(outputFolder, { recursive: true });

export const buttons = [
  'BtnFirst', 'BtnGen', 'BtnZoom200', 'BtnPrev', 'BtnTATE', 'BtnZoom120', 'BtnAutoP',
  'BtnYOKO', 'BtnZoom100', 'BtnStop', 'BtnFIT', 'BtnZoom080', 'BtnAutoN', 'BtnTIME1',
  'BtnZoom050', 'BtnNext', 'BtnTIME2', 'BtnLast', 'BtnTIME3', 'BtnSum',
];

// Fresh folders, removed when the process ends.
const madeFolders = [];
process.on('exit', () => {
  for (const folder of madeFolders) fs.rmSync(folder, { recursive: true, force: true });
});

export function tempFolder(label) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), `vimbrel-e2e-${label}-`));
  madeFolders.push(folder);
  return folder;
}

// A 24-bit Windows bitmap of one colour with a darker band, written directly.
export function writeBmp(file, width, height, [r, g, b]) {
  const rowSize = Math.ceil((width * 3) / 4) * 4;
  const data = Buffer.alloc(54 + rowSize * height);
  data.write('BM', 0, 'latin1');
  data.writeUInt32LE(data.length, 2);
  data.writeUInt32LE(54, 10);
  data.writeUInt32LE(40, 14);
  data.writeInt32LE(width, 18);
  data.writeInt32LE(height, 22);
  data.writeUInt16LE(1, 26);
  data.writeUInt16LE(24, 28);
  data.writeUInt32LE(rowSize * height, 34);
  for (let y = 0; y < height; y++) {
    const band = y < height / 4 ? 0.5 : 1;
    for (let x = 0; x < width; x++) {
      const at = 54 + y * rowSize + x * 3;
      data[at] = b * band;
      data[at + 1] = g * band;
      data[at + 2] = r * band;
    }
  }
  fs.writeFileSync(file, data);
}

// The label font: ImageMagick's default (Helvetica) comes only with
// Ghostscript's fonts, which a minimal install lacks.
const labelFont = '/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf';

// A JPEG picture with its label drawn on it (ImageMagick).
export function writeJpeg(file, width, height, colour, label = '') {
  const args = ['-size', `${width}x${height}`, `xc:${colour}`];
  if (label) {
    args.push('-font', labelFont, '-fill', 'white', '-pointsize', String(Math.max(10, Math.floor(height / 6))));
    args.push('-gravity', 'center', '-annotate', '+0+0', label);
  }
  execFileSync('convert', [...args, '-quality', '85', file]);
}

// An app folder: Vimbrel.INI from `ini` ({SECTION: {KEY: value}}) and Img/
// with the twenty button images (those of the built app folder where it has
// them, else plain ones made here).
export function makeAppFolder(ini) {
  const app = tempFolder('app');
  const text = Object.entries(ini)
    .map(([section, keys]) => `[${section}]\r\n` + Object.entries(keys).map(([k, v]) => `${k}=${v}\r\n`).join(''))
    .join('');
  fs.writeFileSync(path.join(app, 'Vimbrel.INI'), text);
  const img = path.join(app, 'Img');
  fs.mkdirSync(img);
  const built = path.join(path.dirname(cli), 'Img');
  const plain = path.join(img, 'plain.gif');
  for (const name of buttons) {
    const target = path.join(img, `${name}.gif`);
    if (fs.existsSync(path.join(built, `${name}.gif`))) {
      fs.copyFileSync(path.join(built, `${name}.gif`), target);
      continue;
    }
    if (!fs.existsSync(plain)) {
      execFileSync('convert', ['-size', '16x16', 'xc:#3060c0', plain]);
    }
    fs.copyFileSync(plain, target);
  }
  fs.rmSync(plain, { force: true });
  return app + '/';
}

// Runs `vimbrel-cli show PICTURES --app-folder APP --serve` and resolves once
// it has printed the path of index.htm and the URL. `asGiven` hands the
// picture folder over as it stands (a Windows path of another drive, say).
export async function startViewer(pictureFolder, appFolder, { asGiven = false } = {}) {
  const args = ['show', asGiven ? pictureFolder : programPath(pictureFolder), '--app-folder', programPath(appFolder), '--serve'];
  const child = spawn(windows ? 'wine' : cli, windows ? [cli, ...args] : args, {
    stdio: ['ignore', 'pipe', 'pipe'],
    env: {
      ...process.env,
      ...(windows ? wineEnvironment : {}),
      ASAN_OPTIONS: process.env.ASAN_OPTIONS ?? 'detect_leaks=1',
    },
  });
  let out = '';
  let err = '';
  child.stderr.on('data', (chunk) => (err += chunk));
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  const lines = await new Promise((resolve, reject) => {
    child.stdout.on('data', (chunk) => {
      out += chunk;
      const lines = out.split('\n');
      if (lines.length > 2) resolve(lines);
    });
    exited.then(({ code }) => reject(new Error(`vimbrel-cli ended with ${code} before serving: ${err}`)));
  });
  return {
    indexPath: localPath(lines[0]),
    url: lines[1],
    get stderr() {
      return err;
    },
    // Sends `signal` and returns how the program ended. Wine turns SIGINT
    // into the console's Ctrl+C, which is how a Windows program is stopped.
    async stop(signal = 'SIGTERM') {
      child.kill(windows ? 'SIGINT' : signal);
      return exited;
    },
  };
}

// The engine with a fresh profile; `windows`: the test opens windows from the
// page; `startTimeout`: ms the browser may take to start.
export async function launchBrowser(options = {}) {
  const browser = await launchEngine(tempFolder('profile'), options);
  console.log(`engine: ${browser.name} ${browser.version}`);
  return browser;
}

// Opens the viewer at `url` and waits until main.htm has shown picture 0.
export async function openViewer(browser, url) {
  const { status, window } = await browser.open(url);
  if (status !== 200) throw new Error(`index.htm answered ${status}`);
  const main = window.frame('MAIN');
  await main.waitFor(() => document.PIC && document.PIC.complete && document.PIC.naturalWidth > 0);
  return { window, main, menu: window.frame('MENU'), btns: window.frame('BTNS') };
}

// What MAIN shows: the picture's file name (decoded), its set size and its
// natural size.
export async function shown(main) {
  return main.evaluate(() => {
    const pic = document.PIC;
    const file = decodeURIComponent(new URL(pic.src).pathname).split('/').pop();
    return { file, width: pic.width, height: pic.height, natural: [pic.naturalWidth, pic.naturalHeight], complete: pic.complete };
  });
}

// The inner size of the MAIN frame, which the viewer fits pictures to.
export async function frameSize(main) {
  return main.evaluate(() => [window.innerWidth, window.innerHeight]);
}

// Clicks the button whose image is `name`.gif in BTNS.
export async function press(btns, name) {
  const index = await btns.evaluate(
    (name) => [...document.querySelectorAll('a')].findIndex((a) => a.querySelector(`img[src$="/${name}.gif"]`)),
    name,
  );
  if (index < 0) throw new Error(`no button ${name}`);
  await btns.clickNth('a', index);
}

// Clicks the link of MENU that reads `text`.
export function clickMenu(viewer, text) {
  return viewer.menu.click('a', { text });
}
