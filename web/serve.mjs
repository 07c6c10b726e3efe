// A small static file server for the web build: node web/serve.mjs DIR [PORT].
// Port 0 picks a free one; the address is printed as "Serving DIR at URL".
// The browser test imports serve() from here.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { pathToFileURL } from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.css': 'text/css; charset=utf-8',
  '.png': 'image/png',
};

// Resolves with { server, url } once listening on 127.0.0.1.
export function serve(dir, port = 0) {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (file !== root && !file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        'Content-Type': types[extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    }
  });
  return new Promise((resolveServer, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolveServer({ server, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1] || '').href) {
  const dir = process.argv[2];
  if (!dir) {
    console.error('usage: node web/serve.mjs DIR [PORT]');
    process.exit(2);
  }
  const { url } = await serve(dir, Number(process.argv[3] || 8080));
  console.log(`Serving ${dir} at ${url} (Ctrl-C stops)`);
}
