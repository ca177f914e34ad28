// Careless or hostile local programs against the viewer server (loopback
// only), through vimbrel-cli show --serve, on Linux and under Wine: requests
// that are not HTTP, pictures that ask for endless drawing, a stop signal
// while one is drawn, files cut short while sent, and hundreds of sockets
// that trickle or idle while a browser asks for its pages. No browser is
// involved, so the file runs in one engine's pass only.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import net from 'node:net';
import path from 'node:path';
import { after, before, describe, test } from 'node:test';
import { engine } from './browsers/index.mjs';
import { makeAppFolder, servedPath, startViewer, tempFolder, windows } from './support.mjs';

// An EMF of `size` pixels a side holding `records` (type, parameter bytes).
function emf(size, records) {
  const bodies = records.map(([type, parameters]) => {
    const record = Buffer.alloc(8 + parameters.length);
    record.writeUInt32LE(type, 0);
    record.writeUInt32LE(record.length, 4);
    parameters.copy(record, 8);
    return record;
  });
  const eof = Buffer.alloc(20);
  eof.writeUInt32LE(14, 0);
  eof.writeUInt32LE(20, 4);
  eof.writeUInt32LE(16, 12);
  eof.writeUInt32LE(20, 16);
  bodies.push(eof);
  const header = Buffer.alloc(88);
  const hundredths = Math.floor((size * 2540) / 96);
  const millimetres = Math.floor((size * 254) / 960);
  header.writeUInt32LE(1, 0);
  header.writeUInt32LE(88, 4);
  header.writeInt32LE(size - 1, 16);
  header.writeInt32LE(size - 1, 20);
  header.writeInt32LE(hundredths, 32);
  header.writeInt32LE(hundredths, 36);
  header.writeUInt32LE(0x464d4520, 40);
  header.writeUInt32LE(0x10000, 44);
  header.writeUInt32LE(88 + bodies.reduce((n, b) => n + b.length, 0), 48);
  header.writeUInt32LE(bodies.length + 1, 52);
  header.writeUInt16LE(1, 56);
  header.writeInt32LE(size, 72);
  header.writeInt32LE(size, 76);
  header.writeInt32LE(millimetres, 80);
  header.writeInt32LE(millimetres, 84);
  return Buffer.concat([header, ...bodies]);
}

// One polygon of `points` points zig-zagging between top and bottom: every
// row crosses every edge. 80 KB for 20,000 points.
function zigZag(points, size) {
  const parameters = Buffer.alloc(20 + points * 4);
  parameters.writeInt32LE(size - 1, 8);
  parameters.writeInt32LE(size - 1, 12);
  parameters.writeUInt32LE(points, 16);
  for (let i = 0; i < points; i++) {
    parameters.writeUInt16LE(Math.floor((i * (size - 1)) / (points - 1)), 20 + i * 4);
    parameters.writeUInt16LE(i % 2 ? size - 1 : 0, 22 + i * 4);
  }
  return emf(size, [[86, parameters]]);
}

// `count` rectangles over the whole picture: each allowed, together seconds
// of filling.
function fullFills(count, size) {
  const box = Buffer.alloc(16);
  box.writeInt32LE(size, 8);
  box.writeInt32LE(size, 12);
  return emf(size, Array.from({ length: count }, () => [43, box]));
}

// One raw request; resolves with the status (0 when none came), whether the
// connection closed after it, and the milliseconds it took.
function raw(port, bytes) {
  return new Promise((resolve) => {
    const started = Date.now();
    const socket = net.connect(port, '127.0.0.1');
    let reply = Buffer.alloc(0);
    socket.on('data', (chunk) => (reply = Buffer.concat([reply, chunk])));
    socket.on('error', () => {});
    socket.on('close', () => {
      const status = Number(/^HTTP\/1\.\d (\d{3})/.exec(reply.toString('latin1'))?.[1] ?? 0);
      resolve({ status, body: reply.toString('latin1'), ms: Date.now() - started });
    });
    socket.write(bytes);
    socket.setTimeout(20000, () => socket.destroy());
  });
}

function get(url, agent) {
  return new Promise((resolve, reject) => {
    const started = Date.now();
    const request = http.get(url, { agent }, (response) => {
      response.resume();
      response.on('end', () => resolve({ status: response.statusCode, ms: Date.now() - started }));
    });
    request.on('error', reject);
    request.setTimeout(10000, () => request.destroy(new Error('no answer in 10 s')));
  });
}

// A browser's way: six keep-alive connections, one page a `pace` ms, a
// request sent again once when its connection turned out closed before any
// answer came. The share of `pages` answered.
async function browse(url, pages, pace) {
  const agent = new http.Agent({ keepAlive: true, maxSockets: 6 });
  let answered = 0;
  const asked = [];
  for (let page = 0; page < pages; page++) {
    asked.push(
      (async () => {
        for (let attempt = 0; attempt < 2; attempt++) {
          try {
            if ((await get(url, agent)).status === 200) return answered++;
          } catch {
            // the connection went away: once more, as a browser would
          }
        }
      })(),
    );
    await new Promise((resolve) => setTimeout(resolve, pace));
  }
  await Promise.all(asked);
  agent.destroy();
  return answered / pages;
}

// `count` sockets held open against `port`, trickling a head that never ends
// (a byte every `trickle` ms) or sending nothing; one the server drops is
// opened again at once.
function besiege(port, count, trickle) {
  const sockets = new Set();
  let dropped = 0;
  let ended = false;
  const open = () => {
    const socket = net.connect(port, '127.0.0.1');
    sockets.add(socket);
    socket.on('error', () => {});
    socket.on('close', () => {
      sockets.delete(socket);
      dropped++;
      if (!ended) open();
    });
  };
  for (let i = 0; i < count; i++) open();
  const timer = trickle ? setInterval(() => sockets.forEach((s) => s.writable && s.write('a')), trickle) : null;
  return {
    get dropped() {
      return dropped;
    },
    end() {
      ended = true;
      clearInterval(timer);
      sockets.forEach((s) => s.destroy());
    },
  };
}

describe('the viewer server against hostile clients', { skip: engine !== 'chromium' && 'no browser: run once' }, () => {
  let server;
  let pictures;
  let base; // http://127.0.0.1:PORT/TOKEN
  let port;
  const urlOf = (name) => `${base}${servedPath(path.join(pictures, name))}`;

  before(async () => {
    pictures = tempFolder('attacks');
    fs.writeFileSync(path.join(pictures, 'a.jpg'), Buffer.alloc(2000, 7));
    fs.writeFileSync(path.join(pictures, 'zigzag.emf'), zigZag(20000, 2000));
    fs.writeFileSync(path.join(pictures, 'big.jpg'), Buffer.alloc(64 << 20, 1));
    server = await startViewer(pictures + '/', makeAppFolder({ MENU: { SHOW: 0 } }));
    const url = new URL(server.url);
    port = Number(url.port);
    base = `${url.origin}/${url.pathname.split('/')[1]}`;
  });
  after(async () => {
    if (server) assert.deepEqual(await server.stop(), { code: 0, signal: null });
  });

  test('requests that are not HTTP get 400 and their connection closes', async () => {
    const target = new URL(urlOf('a.jpg')).pathname;
    const host = `127.0.0.1:${port}`;
    for (const request of [
      `GET ${target}\0/../../x HTTP/1.1\r\nHost: ${host}\r\n\r\n`,
      `GET ${target} HTTP/1.1\r\nHost: ${host}\0x\r\n\r\n`,
      `GET ${target} HTTP/1.1\r\nHost: ${host}\r\nX-A: b\rc\r\n\r\n`,
      `GET ${target}\x01 HTTP/1.1\r\nHost: ${host}\r\n\r\n`,
    ]) {
      const reply = await raw(port, Buffer.from(request, 'latin1'));
      assert.equal(reply.status, 400, JSON.stringify(request));
    }
    const clean = await raw(port, Buffer.from(`GET ${target} HTTP/1.1\r\nHost: ${host}\r\nConnection: close\r\n\r\n`));
    assert.equal(clean.status, 200);
  });

  test('a picture that asks for endless drawing gets 503 while every other file keeps coming', async () => {
    const drawing = get(urlOf('zigzag.emf'));
    const others = [];
    for (let i = 0; i < 10; i++) others.push(await get(urlOf('a.jpg')));
    const refused = await drawing;
    assert.equal(refused.status, 503);
    assert.ok(others.every((reply) => reply.status === 200));
    console.log(`zigzag.emf: ${refused.status} after ${refused.ms} ms; other files at most ${Math.max(...others.map((r) => r.ms))} ms`);
    // Remembered: not drawn again.
    assert.equal((await get(urlOf('zigzag.emf'))).status, 503);
  });

  test('a file cut short while it is sent ends its answer at once', async () => {
    const big = path.join(pictures, 'cut.jpg');
    fs.writeFileSync(big, Buffer.alloc(64 << 20, 2));
    const ended = await new Promise((resolve, reject) => {
      const request = http.get(urlOf('cut.jpg'), { agent: false }, (response) => {
        let received = 0;
        response.once('data', () => fs.truncateSync(big, 1 << 20));
        response.on('data', (chunk) => (received += chunk.length));
        response.on('error', () => {});
        response.on('close', () => resolve({ received, complete: response.complete }));
      });
      request.on('error', () => {});
      request.setTimeout(20000, () => reject(new Error('the answer hung')));
    });
    assert.equal(ended.complete, false);
    assert.ok(ended.received < 64 << 20);
  });

  test('three hundred trickling or idle sockets leave a browser its pages', async () => {
    for (const trickle of [2000, 0]) {
      const siege = besiege(port, 300, trickle);
      try {
        // Long enough for the server's deadlines (5 s for a silent
        // connection, 10 s for a whole head) to come round.
        const share = await browse(urlOf('a.jpg'), 30, 500);
        console.log(`${trickle ? 'trickling' : 'idle'}: ${Math.round(share * 100)} % of the pages answered, ${siege.dropped} sockets dropped`);
        assert.ok(share >= 0.95, `${trickle ? 'trickling' : 'idle'}: ${share}`);
      } finally {
        siege.end();
      }
    }
  });
});

describe('a stop signal while a picture is drawn', { skip: engine !== 'chromium' && 'no browser: run once' }, () => {
  test('ends the program without waiting for the drawing', async () => {
    const folder = tempFolder('stop');
    // Some nine hundred fills of a 2000-pixel picture: seconds of drawing,
    // within what a picture may take.
    fs.writeFileSync(path.join(folder, 'slow.emf'), fullFills(900, 2000));
    const viewer = await startViewer(folder + '/', makeAppFolder({ MENU: { SHOW: 0 } }));
    const url = new URL(viewer.url);
    const target = `${url.origin}/${url.pathname.split('/')[1]}${servedPath(path.join(folder, 'slow.emf'))}`;
    let sent;
    const written = new Promise((resolve) => (sent = resolve));
    const drawing = new Promise((resolve) => {
      const request = http.get(target, { agent: false }, (response) => {
        response.resume();
        response.on('end', () => resolve(response.statusCode));
      });
      request.on('finish', sent);
      request.on('error', () => resolve(0));
    });
    // The drawing begins as soon as the request is in.
    await written;
    await new Promise((resolve) => setTimeout(resolve, 50));
    const stopped = Date.now();
    assert.deepEqual(await viewer.stop(), { code: 0, signal: null });
    console.log(`ended ${Date.now() - stopped} ms after the signal`);
    assert.notEqual(await drawing, 200, 'the drawing was stopped, not finished');
  });
});
