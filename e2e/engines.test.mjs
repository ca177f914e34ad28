// The engine layer itself: what a page throws is reported, frames are found
// in every engine, waiting gives up with a message, and a browser that cannot
// start fails loudly instead of letting the tests pass unseen.
import assert from 'node:assert/strict';
import http from 'node:http';
import { after, before, describe, test } from 'node:test';

import { engine } from './browsers/index.mjs';
import { launchBrowser } from './support.mjs';

// A frameset like the viewer's, with the frame files the engines look for.
const files = {
  '/index.htm': '<html><frameset cols="50%,*"><frame src="menu.htm" name="MENU"><frame src="main.htm" name="MAIN"></frameset></html>',
  '/menu.htm': '<html><body><a href="#" onclick="parent.MAIN.document.body.dataset.clicked = this.textContent">one</a> <a href="#" onclick="parent.MAIN.document.body.dataset.clicked = this.textContent">two</a></body></html>',
  '/main.htm': '<html><body>main</body></html>',
};

describe(`engine layer (${engine})`, () => {
  let server;
  let origin;
  let browser;

  before(async () => {
    server = http.createServer((request, response) => {
      const body = files[new URL(request.url, 'http://x').pathname];
      response.writeHead(body ? 200 : 404, { 'content-type': 'text/html' });
      response.end(body ?? 'not here');
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    origin = `http://127.0.0.1:${server.address().port}`;
    browser = await launchBrowser();
  });
  after(async () => {
    await browser?.close();
    server?.close();
  });

  test('frames by name, clicks by text, statuses, and errors the page throws', async () => {
    assert.equal((await browser.open(`${origin}/missing.htm`)).status, 404);
    const { status, window } = await browser.open(`${origin}/index.htm`);
    assert.equal(status, 200);
    const main = window.frame('MAIN');
    const menu = window.frame('MENU');
    assert.equal(await main.waitFor(() => document.body?.textContent), 'main');
    await menu.click('a', { text: 'two' });
    assert.equal(await main.waitFor(() => document.body.dataset.clicked), 'two');
    await assert.rejects(menu.click('a', { text: 'three' }), /no a reads "three"/);

    assert.deepEqual(await window.errors(), []);
    await main.evaluate(() => setTimeout(() => {
      throw new Error('thrown by the page');
    }));
    await main.waitFor(() => new Promise((resolve) => setTimeout(() => resolve(true), 50)));
    const errors = await window.errors();
    assert.ok(errors.some((message) => message.includes('thrown by the page')), JSON.stringify(errors));
  });

  test('waiting gives up after its time with what it last saw', async () => {
    const { window } = await browser.open(`${origin}/main.htm`);
    await assert.rejects(window.waitFor(() => document.title === 'never', null, { timeout: 300 }), /waited 300 ms/);
  });

  test('a browser that cannot start is an error', async () => {
    const variable = { chromium: 'CHROMIUM', firefox: 'FIREFOX', webkit: 'COG' }[engine];
    const saved = process.env[variable];
    process.env[variable] = '/bin/false';
    try {
      await assert.rejects(launchBrowser({ startTimeout: 10000 }), (error) => error instanceof Error && error.message.length > 0);
    } finally {
      if (saved === undefined) delete process.env[variable];
      else process.env[variable] = saved;
    }
  });
});
