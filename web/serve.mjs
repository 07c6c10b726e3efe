// A small static file server for the web build: node web/serve.mjs DIR [PORT].
// Port 0 picks a free one; the address is printed as "Serving DIR at URL".
// The browser test imports serve() from here.
//
// Text and WebAssembly go out compressed (brotli, else gzip, as the browser
// accepts), and every file carries an ETag with "no-cache": a reload asks
// again and gets "304 Not Modified" while the file is unchanged, so the
// browser's cache (and its cache of compiled WebAssembly) serves it.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { promisify } from 'node:util';
import { brotliCompress, constants, gzip } from 'node:zlib';
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

const compressible = new Set(['.html', '.js', '.mjs', '.wasm', '.css']);
const encoders = {
  br: promisify(brotliCompress),
  gzip: promisify(gzip),
};

// The file's body in each encoding, computed once per version of the file.
const cache = new Map();
async function version(file) {
  const info = await stat(file);
  const key = `${info.mtimeMs}:${info.size}`;
  const known = cache.get(file);
  if (known && known.key === key) return known;
  const body = await readFile(file);
  const entry = { key, etag: `"${createHash('sha1').update(body).digest('base64url')}"`, body, encoded: {} };
  cache.set(file, entry);
  return entry;
}

async function encoded(entry, encoding) {
  if (!entry.encoded[encoding]) {
    entry.encoded[encoding] = encoding === 'br'
      ? encoders.br(entry.body, { params: { [constants.BROTLI_PARAM_QUALITY]: 9 } })
      : encoders.gzip(entry.body, { level: 9 });
  }
  return entry.encoded[encoding];
}

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
    let entry;
    try {
      entry = await version(file);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
      return;
    }
    const headers = {
      'Content-Type': types[extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-cache',
      ETag: entry.etag,
      Vary: 'Accept-Encoding',
    };
    if (request.headers['if-none-match'] === entry.etag) {
      response.writeHead(304, headers).end();
      return;
    }
    const accepted = String(request.headers['accept-encoding'] || '');
    const encoding = !compressible.has(extname(file)) ? null
      : /\bbr\b/.test(accepted) ? 'br' : /\bgzip\b/.test(accepted) ? 'gzip' : null;
    const body = encoding ? await encoded(entry, encoding) : entry.body;
    if (encoding) headers['Content-Encoding'] = encoding;
    headers['Content-Length'] = body.length;
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
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
