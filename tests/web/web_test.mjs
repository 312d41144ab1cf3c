// The browser build as a player meets it: the page served on 127.0.0.1 and played in
// Debian's headless Chromium with the keyboard, from the credits through the title menu
// into a game. The first credit page must equal the native game's frame pixel for pixel,
// on the canvas and as the page shows it (each game pixel a sharp square); the title
// menu's entries, its music and a sailing frame must appear; the score must stay in the
// browser's storage across a reload; a game pad must work; and the page must report no
// error.
//
//     node web_test.mjs WEB_DIR NATIVE_DIR SHOTS_DIR
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import puppeteer from "puppeteer-core";
import { PNG } from "pngjs";

const [webDir, nativeDir, shotsDir] = process.argv.slice(2);
const W = 160, H = 120;
let passes = 0, failures = 0;
function check(what, ok, detail = "") {
  if (ok) passes++; else failures++;
  console.log((ok ? "ok: " : "FAILED: ") + what + (ok || !detail ? "" : " (" + detail + ")"));
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The native frames, as RGBA.
const native = (name) => PNG.sync.read(fs.readFileSync(path.join(nativeDir, name))).data;
const nativeCredits = native("credits.png");
const nativeTitle = native("title.png");

// Pixels of two RGBA pictures that differ in colour, within a box of the game's frame.
function differences(a, b, box = { x: 0, y: 0, w: W, h: H }) {
  let count = 0;
  for (let y = box.y; y < box.y + box.h; y++)
    for (let x = box.x; x < box.x + box.w; x++) {
      const i = (y * W + x) * 4;
      if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) count++;
    }
  return count;
}

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
const server = http.createServer((request, response) => {
  let name = path.normalize(decodeURIComponent(new URL(request.url, "http://localhost").pathname));
  if (name.endsWith("/")) name += "index.html";
  const file = path.join(webDir, name);
  fs.readFile(file, (error, body) => {
    if (error) { response.writeHead(404); response.end(); return; }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    response.end(body);
  });
});
await new Promise((done) => server.listen(0, "127.0.0.1", done));
const url = "http://127.0.0.1:" + server.address().port + "/";

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quillbarrow-chromium-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--autoplay-policy=no-user-gesture-required",
         "--force-color-profile=srgb", "--user-data-dir=" + profile],
});
try {
  const page = await browser.newPage();
  const problems = [];
  page.on("pageerror", (error) => problems.push(error.message));
  page.on("console", (message) => { if (message.type() === "error") problems.push(message.text()); });
  // Room for four screen pixels a game pixel above the instructions.
  await page.setViewport({ width: 700, height: 600, deviceScaleFactor: 1 });
  await page.goto(url);

  const canvas = () => page.evaluate(() => Array.from(
      document.getElementById("canvas").getContext("2d").getImageData(0, 0, 160, 120).data));
  async function waitFor(test, ms) {
    for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) if (test(await canvas())) return true;
    return false;
  }
  // A button press as the game sees it: down for a few frames, then let go.
  async function press(code) {
    await page.keyboard.down(code);
    await sleep(100);
    await page.keyboard.up(code);
    await sleep(150);
  }
  const shot = (name) => page.screenshot({ path: path.join(shotsDir, name) });

  const credits = await waitFor((frame) => differences(frame, nativeCredits) === 0, 30000);
  check("the first credit page equals the native game's frame", credits,
        differences(await canvas(), nativeCredits) + " pixels differ");
  await shot("web-credits.png");
  // The page as shown: each game pixel a sharp 4 x 4 square of its own colour.
  const box = await (await page.$("#canvas")).boundingBox();
  const shown = PNG.sync.read(await page.screenshot({ clip: box })).data;
  let blurred = box.width === 4 * W && box.height === 4 * H ? 0 : -1;
  for (let y = 0; blurred >= 0 && y < 4 * H; y++)
    for (let x = 0; x < 4 * W; x++) {
      const i = (y * 4 * W + x) * 4, j = ((y >> 2) * W + (x >> 2)) * 4;
      if (shown[i] !== nativeCredits[j] || shown[i + 1] !== nativeCredits[j + 1] ||
          shown[i + 2] !== nativeCredits[j + 2]) blurred++;
    }
  check("the page shows it scaled four times, crisp", blurred === 0,
        blurred < 0 ? "canvas shown at " + box.width + " x " + box.height : blurred + " pixels differ");

  const stored = () => page.evaluate(() => Object.entries(localStorage));
  const scoreKeys = (await stored()).filter(([key]) => key.endsWith("/.Quillbarrow/score"));
  check("a first visit stores a score of 0", scoreKeys.length === 1 && scoreKeys[0][1] === "0",
        JSON.stringify(scoreKeys));

  for (let credit = 0; credit < 3; credit++) await press("ControlLeft");
  // The entries of the menu, below the rippling logo and right of the turning wheel.
  const menu = { x: 44, y: 62, w: 116, h: 58 };
  const title = await waitFor((frame) => differences(frame, nativeTitle, menu) === 0, 5000);
  check("A turns the credit pages to the title menu", title,
        differences(await canvas(), nativeTitle, menu) + " pixels of the entries differ");
  await shot("web-title.png");
  // emscripten's SDL_mixer keeps its state in the page's global SDL.
  const music = await page.evaluate(() => {
    const track = SDL.music.audio;
    return SDL.audioContext.state === "running" && !!track && !!track.webAudioNode &&
           track.resource.webAudio.decodedBuffer.duration > 1;
  });
  check("the menu music plays through Web Audio", music);

  // Play, the high score screen, then the greeting, a page each time one is typed out,
  // until the sea shows.
  const seaBlue = [49, 52, 107];  // the game's colour 2
  const mostlySea = (frame) => {
    let sea = 0;
    for (let i = 0; i < frame.length; i += 4)
      if (frame[i] === seaBlue[0] && frame[i + 1] === seaBlue[1] && frame[i + 2] === seaBlue[2]) sea++;
    return sea > W * H / 3;
  };
  await press("ControlLeft");
  await sleep(500);
  await press("ControlLeft");
  let sailing = false;
  for (let turn = 0; turn < 40 && !sailing; turn++) {
    sailing = await waitFor(mostlySea, 1300);
    if (!sailing) await press("ControlLeft");
  }
  const before = await canvas();
  await sleep(1000);
  check("the game sails: open sea that moves", sailing && differences(before, await canvas()) > 0);
  for (let step = 0; step < 20; step++) {
    await page.keyboard.down("ArrowLeft");
    await sleep(100);
  }
  await page.keyboard.up("ArrowLeft");
  await shot("web-sailing.png");

  // The score survives a reload: the boot frame reads it back rather than writing 0.
  await page.evaluate((key) => localStorage.setItem(key, "77"), scoreKeys[0] ? scoreKeys[0][0] : "none");
  await page.reload();
  await waitFor((frame) => differences(frame, nativeCredits) === 0, 30000);
  const kept = (await stored()).filter(([key]) => key.endsWith("/.Quillbarrow/score"));
  check("the score in the browser's storage survives a reload", kept.length === 1 && kept[0][1] === "77",
        JSON.stringify(kept));

  // A game pad in the browser's standard layout: its bottom face button is A and turns
  // the credit page.
  async function padButton(index, down) {
    await page.evaluate((index, down) => {
      const buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: down && i === index, value: 0 }));
      const pad = { id: "test pad", index: 0, connected: true, mapping: "standard", timestamp: Date.now(),
                    axes: [0, 0, 0, 0], buttons };
      navigator.getGamepads = () => [pad];
    }, index, down);
  }
  await padButton(0, true);
  await sleep(150);
  await padButton(0, false);
  const turned = await waitFor((frame) => differences(frame, nativeCredits) > 1000, 2000);
  check("a game pad's bottom face button turns the credit page", turned);

  check("the page reports no error", problems.length === 0, problems.join("; "));
} finally {
  await browser.close();
  server.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(passes + " passed, " + failures + " failed");
process.exit(failures === 0 ? 0 : 1);
