// The viewer server refuses what is not this session's viewer: plain HTTP
// requests as well as the browser. And `show --serve` ends cleanly on a
// signal.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { launchBrowser, makeAppFolder, servedPath, startViewer, tempFolder, writeBmp } from './support.mjs';

// One raw request; `target` is sent exactly as given.
function request(url, { method = 'GET', target, host } = {}) {
  const parsed = new URL(url);
  return new Promise((resolve, reject) => {
    const req = http.request(
      {
        host: '127.0.0.1',
        port: parsed.port,
        method,
        path: target ?? parsed.pathname,
        headers: { Host: host ?? parsed.host },
      },
      (res) => {
        let body = '';
        res.on('data', (chunk) => (body += chunk));
        res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body }));
      },
    );
    req.on('error', reject);
    req.end(method === 'POST' ? 'x=1' : undefined);
  });
}

describe('viewer server', () => {
  let server;
  let root;
  let pictures;
  let prefix; // "/TOKEN"

  before(async () => {
    root = tempFolder('server');
    pictures = path.join(root, 'pictures');
    fs.mkdirSync(pictures);
    writeBmp(path.join(pictures, 'a.bmp'), 120, 90, [10, 200, 30]);
    fs.writeFileSync(path.join(root, 'secret.txt'), 'secret');
    fs.symlinkSync(path.join(root, 'secret.txt'), path.join(pictures, 'link.bmp'));
    server = await startViewer(pictures + '/', makeAppFolder({ MENU: { SHOW: 0 } }));
    prefix = new URL(server.url).pathname.split('/').slice(0, 2).join('/');
  });
  after(async () => {
    if (server) assert.deepEqual(await server.stop(), { code: 0, signal: null });
  });

  test('serves the pages and pictures of the run', async () => {
    const index = await request(server.url);
    assert.equal(index.status, 200);
    assert.equal(index.headers['content-type'], 'text/html; charset=Shift_JIS');
    assert.equal(index.headers['cache-control'], 'no-cache');
    const picture = await request(server.url, { target: `${prefix}${servedPath(pictures)}/a.bmp` });
    assert.equal(picture.status, 200);
    assert.equal(picture.headers['content-type'], 'image/bmp');
    const head = await request(server.url, { method: 'HEAD' });
    assert.equal(head.status, 200);
    assert.equal(head.body, '');
    // The page as written, with the server's one script element added.
    const added = `<SCRIPT SRC="${prefix}~/helper.js"></SCRIPT>`.length;
    assert.equal(Number(head.headers['content-length']), fs.statSync(server.indexPath).size + added);
  });

  test('refuses wrong tokens, paths outside the folders, links out, other hosts and methods', async () => {
    const token = prefix.slice(1);
    const wrongToken = '/' + [...token].map((c) => (c === 'a' ? 'b' : 'a')).join('');
    const refusals = [
      [{ target: server.url.replace(/^http:\/\/[^/]+/, '').replace(prefix, wrongToken) }, 404],
      [{ target: `${prefix}${servedPath(root)}/secret.txt` }, 404],
      [{ target: `${prefix}${servedPath(pictures)}/../secret.txt` }, 404],
      [{ target: `${prefix}${servedPath(pictures)}/%2e%2e/secret.txt` }, 404],
      [{ target: `${prefix}${servedPath(pictures)}/%2E%2E%2Fsecret.txt` }, 404],
      [{ target: `${prefix}${servedPath(pictures)}/link.bmp` }, 404],
      [{ target: `${prefix}${servedPath(pictures)}/` }, 404],
      [{ target: `${prefix}${servedPath('/etc/passwd')}` }, 404],
      [{ host: 'localhost:' + new URL(server.url).port }, 403],
      [{ host: 'attacker.example' }, 403],
      [{ method: 'POST' }, 405],
      [{ method: 'PUT' }, 405],
    ];
    for (const [options, status] of refusals) {
      const reply = await request(server.url, options);
      assert.equal(reply.status, status, JSON.stringify(options));
      assert.ok(!reply.body.includes('secret') && !reply.body.includes('<HTML>'), JSON.stringify(options));
    }
  });

  test('the browser gets nothing for a wrong token or a link out', async () => {
    const browser = await launchBrowser();
    try {
      const token = prefix.slice(1);
      const wrong = server.url.replace(token, token.split('').reverse().join(''));
      const refused = await browser.open(wrong);
      assert.equal(refused.status, 404);
      assert.doesNotMatch((await refused.window.innerTexts('body'))[0] ?? '', /PIC|<HTML>/);
      const base = new URL(server.url);
      assert.equal((await browser.open(`${base.origin}${prefix}${servedPath(pictures)}/link.bmp`)).status, 404);
      const shown = await browser.open(server.url);
      assert.equal(shown.status, 200);
      assert.equal(await shown.window.count('frame'), 3);
    } finally {
      await browser.close();
    }
  });

  test('a second show --serve stops on SIGINT as well', async () => {
    const other = await startViewer(pictures + '/', makeAppFolder({ MENU: { SHOW: 0 } }));
    assert.equal((await request(other.url)).status, 200);
    assert.notEqual(new URL(other.url).pathname.split('/')[1], token(server));
    assert.deepEqual(await other.stop('SIGINT'), { code: 0, signal: null });
  });
});

function token(viewer) {
  return new URL(viewer.url).pathname.split('/')[1];
}
