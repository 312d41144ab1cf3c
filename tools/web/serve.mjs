// Serves the built page as a real web server would: the compressed form of a file when
// the browser accepts it (FILE.br or FILE.gz beside FILE, sent with Content-Encoding),
// the types browsers need (application/wasm for streaming compilation), and validators
// (ETag) so that a browser, and the page's service worker, may ask whether a file
// changed and be told 304 Not Modified.
//
//     node tools/web/serve.mjs build-web/web [PORT]     (then browse to http://127.0.0.1:PORT/)
//
// The web test imports serveFolder, and counts the bytes it sends.
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { fileURLToPath } from "node:url";

const types = {
  ".html": "text/html; charset=utf-8", ".js": "text/javascript; charset=utf-8", ".wasm": "application/wasm",
  ".ogg": "audio/ogg", ".png": "image/png", ".webmanifest": "application/manifest+json",
};

// A server for the folder root. options.missing: paths (as "/game.wasm") answered 404,
// as if the file were not there. The returned server's bytesSent() is every byte it
// has written to its connections, headers included.
export function serveFolder(root, options = {}) {
  const missing = options.missing || new Set();
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    if (name.endsWith("/")) name += "index.html";
    const file = path.resolve(root, "." + path.posix.normalize(name));
    if (!file.startsWith(path.resolve(root) + path.sep) || missing.has(name) ||
        (request.method !== "GET" && request.method !== "HEAD")) {
      response.writeHead(missing.has(name) ? 404 : 400).end();
      return;
    }
    const accepted = (request.headers["accept-encoding"] || "").split(/\s*,\s*/).map((e) => e.split(";")[0]);
    let sent = file, encoding = null;
    for (const [accept, suffix] of [["br", ".br"], ["gzip", ".gz"]])
      if (!encoding && accepted.includes(accept) && fs.existsSync(file + suffix)) {
        sent = file + suffix;
        encoding = accept;
      }
    fs.stat(sent, (error, stat) => {
      if (error || !stat.isFile()) {
        response.writeHead(404).end();
        return;
      }
      const tag = '"' + stat.size.toString(16) + "-" + Math.floor(stat.mtimeMs).toString(16) +
                  (encoding ? "-" + encoding : "") + '"';
      const headers = {
        "Content-Type": types[path.extname(file)] || (path.basename(file) === "NOTICE" ? "text/plain; charset=utf-8"
                                                                                       : "application/octet-stream"),
        "Cache-Control": "no-cache", "ETag": tag, "Vary": "Accept-Encoding",
      };
      if (encoding) headers["Content-Encoding"] = encoding;
      if (request.headers["if-none-match"] === tag) {
        response.writeHead(304, headers).end();
        return;
      }
      headers["Content-Length"] = stat.size;
      response.writeHead(200, headers);
      if (request.method === "HEAD") response.end();
      else fs.createReadStream(sent).pipe(response);
    });
  });
  const sockets = new Set();
  let closedBytes = 0;
  server.on("connection", (socket) => {
    sockets.add(socket);
    socket.on("close", () => {
      closedBytes += socket.bytesWritten;
      sockets.delete(socket);
    });
  });
  server.bytesSent = () => [...sockets].reduce((sum, socket) => sum + socket.bytesWritten, closedBytes);
  // Closes every connection too, as a server that went away would.
  server.stop = () => new Promise((done) => {
    server.close(done);
    for (const socket of sockets) socket.destroy();
  });
  return server;
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [root, port = "8000"] = process.argv.slice(2);
  if (!root) {
    console.error("usage: node serve.mjs FOLDER [PORT]");
    process.exit(2);
  }
  serveFolder(root).listen(Number(port), "127.0.0.1",
                           () => console.log("Serving " + root + " on http://127.0.0.1:" + port + "/"));
}
