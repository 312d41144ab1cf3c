// The browser build as players meet it, in Debian's headless Chromium with its default
// autoplay policy, the page served as a real server serves it (tools/web/serve.mjs):
//  - a first visit at 10 Mbit/s with 40 ms latency: the bytes transferred and the time
//    to the first frame;
//  - on a computer: the start prompt, which a modifier alone does not pass; Z alone
//    starting the game and its sound, with the credits equal to the native game's frame,
//    shown crisp; Z through the credits to the menu and its music; the sounds decoded to
//    their samples' length with seamless loops; the browser's own keys left to it; into
//    a game and sailing; the game standing still in a hidden tab; a game pad; the score
//    kept across a reload; a reload with the server gone; a new version served;
//  - on a phone upright and sideways: the layout (the picture whole and sharp, the touch
//    controls beside or below it, the help inside the screen), and a game played from
//    the credits with touch alone: the pad's eight ways, steering, firing while steering;
//  - the one-line messages of a page opened as a file, no WebAssembly, no Web Audio, and
//    a missing game.js, game.wasm or sound.
// It drives the browser through its DevTools protocol (cdp.mjs) and leaves its
// pictures in WORK/shots.
//
//     node tests/web/web_test.mjs WEB_DIR NATIVE_DIR WORK_DIR DATA_DIR
import fs from "node:fs";
import path from "node:path";
import { serveFolder } from "../../tools/web/serve.mjs";
import { launch } from "./cdp.mjs";
import { readPng } from "./png.mjs";

const [webDir, nativeDir, workDir, dataDir] = process.argv.slice(2);
const shotsDir = path.join(workDir, "shots");
const W = 160, H = 120;
let passes = 0, failures = 0;
function check(what, ok, detail = "") {
  if (ok) passes++; else failures++;
  console.log((ok ? "ok: " : "FAILED: ") + what + (ok || !detail ? "" : " (" + detail + ")"));
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const started = Date.now();
const section = (name) => console.log("-- " + name + " (" + ((Date.now() - started) / 1000).toFixed(0) + " s)");

// The native frames, as RGBA.
const native = (name) => readPng(fs.readFileSync(path.join(nativeDir, name))).data;
const nativeCredits = native("credits.png");
const nativeTitle = native("title.png");
// The entries of the menu, below the rippling logo and right of the turning wheel.
const menuBox = { x: 44, y: 62, w: 116, h: 58 };

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
// The site is served from a copy, which the update check changes.
const site = path.join(workDir, "site");
fs.rmSync(site, { recursive: true, force: true });
fs.cpSync(webDir, site, { recursive: true });
const missing = new Set();
let server = serveFolder(site, { missing });
await new Promise((done) => server.listen(0, "127.0.0.1", done));
const port = server.address().port;
const url = "http://127.0.0.1:" + port + "/";

const profile = path.join(workDir, "profile");
fs.rmSync(profile, { recursive: true, force: true });
// Headless, its sound muted, with no sandbox (which cannot run as root), and none of
// its own traffic to Google's servers.
const browser = launch("/usr/bin/chromium", [
  "--headless", "--hide-scrollbars", "--mute-audio", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync", "--force-color-profile=srgb",
  "--user-data-dir=" + profile,
]);

// A page, in the given browser context (or the browser's own), with the page's
// exceptions and the errors and warnings of its console and of the browser about it
// kept.
async function openPage(context, viewport) {
  const page = await browser.newPage(context);
  page.problems = [];
  page.on("Runtime.exceptionThrown", ({ exceptionDetails: details }) =>
    page.problems.push((details.exception && details.exception.description || details.text).split("\n")[0]));
  // (Less the test's own doing: it reads the canvas back again and again.)
  const problem = (text) => { if (!/willReadFrequently/.test(text)) page.problems.push(text); };
  page.on("Runtime.consoleAPICalled", ({ type, args }) => {
    if (type === "error" || type === "warning")
      problem(args.map((arg) => "value" in arg ? String(arg.value) : arg.description || "").join(" "));
  });
  page.on("Log.entryAdded", ({ entry }) => {
    if ((entry.level === "error" || entry.level === "warning") && entry.source !== "worker") problem(entry.text);
  });
  await page.setViewport(viewport);
  return page;
}
const desktop = { width: 700, height: 600, deviceScaleFactor: 1 };
const upright = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const sideways = { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true, isLandscape: true };

// The canvas's pixels; all black when there is no canvas (a browser's error page).
const canvas = (page) => page.evaluate(() => Array.from(
    document.getElementById("canvas").getContext("2d").getImageData(0, 0, 160, 120).data))
    .catch(() => new Array(W * H * 4).fill(0));
async function waitFor(page, test, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) if (test(await canvas(page))) return true;
  return false;
}
async function waitUntil(page, test, ms, ...args) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50))
    if (await page.evaluate(test, ...args).catch(() => false)) return true;
  return false;
}
const framesShown = (page) => page.evaluate(() => Module.framesShown);
const held = (page, key) => page.evaluate((key) => Module._GameKeyHeld(key), key);
// A button press as the game sees it: down for a few frames, then let go.
async function press(page, code) {
  await page.keyDown(code);
  await sleep(100);
  await page.keyUp(code);
  await sleep(150);
}
const shot = (page, name) => page.screenshot(path.join(shotsDir, name));

// The screen the game shows and its overlay, from the game's own numbers (GameState 4
// and overlayMode 0: sailing, no dialog up), which the browser build exports.
const screen = (page) => page.evaluate(() => [HEAP32[Module._GameState >> 2], HEAP32[Module._overlayMode >> 2]])
    .catch(() => [-1, -1]);
// From the credits, with the given press of A, through the menu's Play, the welcome (a
// page each time one is typed out, a character a frame), the high score screen and the
// greeting until the ship sails.
async function playIntoGame(page, pressA) {
  for (let credit = 0; credit < 3; credit++) await pressA();
  await waitFor(page, (frame) => differences(frame, nativeTitle, menuBox) === 0, 3000);
  for (const end = Date.now() + 60000; Date.now() < end;) {
    const [state, overlay] = await screen(page);
    if (state === 4 && overlay === 0) return true;
    await pressA();
    await sleep(100);
  }
  return false;
}

// A WAV's samples (16-bit mono), from 0 to 1.
function wavSamples(file) {
  const bytes = fs.readFileSync(file);
  let at = 12;
  while (bytes.toString("ascii", at, at + 4) !== "data") at += 8 + bytes.readUInt32LE(at + 4);
  const count = bytes.readUInt32LE(at + 4) / 2;
  return Array.from({ length: count }, (_, i) => bytes.readInt16LE(at + 8 + 2 * i) / 32768);
}

try {
  // ---------------------------------------------------------------------------------
  section("a first visit at 10 Mbit/s and 40 ms");
  const visits = [];
  for (let visit = 0; visit < 3; visit++) {
    const context = await browser.newContext();
    const page = await openPage(context, desktop);
    await page.send("Network.emulateNetworkConditions",
                    { offline: false, latency: 40, downloadThroughput: 10e6 / 8, uploadThroughput: 10e6 / 8 });
    let transferred = 0;
    page.on("Network.loadingFinished", (event) => { transferred += event.encodedDataLength; });
    const sentBefore = server.bytesSent();
    await page.goto(url, "DOMContentLoaded");
    await page.keyPress("KeyZ");  // the player's first key, as soon as the page is there
    await waitUntil(page, () => Module.firstFrameAt !== undefined, 20000);
    const firstFrame = await page.evaluate(() => Module.firstFrameAt === undefined
        ? "no frame in 20 s: " + document.getElementById("help").innerText : Module.firstFrameAt);
    // Then everything the page and its service worker fetch.
    await waitUntil(page, async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      return !!(registration && registration.active && (await caches.keys()).length);
    }, 10000);
    await sleep(500);
    visits.push({ firstFrame, transferred, sent: server.bytesSent() - sentBefore, problems: page.problems });
    await browser.closeContext(context);
  }
  const median = (key) => visits.map((v) => v[key]).sort((a, b) => a - b)[1];
  console.log("   first frame " + visits.map((v) => typeof v.firstFrame === "number" ? Math.round(v.firstFrame) + " ms"
                                                                                  : v.firstFrame).join(", ") +
              "; transferred " + visits.map((v) => v.transferred).join(", ") + " bytes to the page, " +
              visits.map((v) => v.sent).join(", ") + " bytes sent by the server in all");
  check("the page as transferred is at most 1,000,000 bytes", Math.max(...visits.map((v) => v.sent)) <= 1e6,
        Math.max(...visits.map((v) => v.sent)) + " bytes");
  const firstProblems = visits.flatMap((v) => v.problems);
  check("first visits report no error and no warning", firstProblems.length === 0, firstProblems.join("; "));
  check("the first frame comes within 1.5 s", visits.every((v) => typeof v.firstFrame === "number") &&
        median("firstFrame") <= 1500, Math.round(median("firstFrame")) + " ms");

  // ---------------------------------------------------------------------------------
  section("on a computer");
  const page = await openPage(undefined, desktop);
  await page.goto(url);
  await waitUntil(page, () => Module.loaded, 10000);
  const prompt = () => page.evaluate(() => document.getElementById("prompt").hidden ? "" :
                                           document.getElementById("prompt").innerText);
  check("a start prompt asks for a click or a key", /Click or press a key to play/.test(await prompt()), await prompt());
  // A modifier alone is no gesture for the browser: the prompt stays, the game waits.
  await press(page, "ControlLeft");
  check("left Ctrl alone does not start the game", (await prompt()) !== "" && (await framesShown(page)) === 0);
  await shot(page, "web-prompt.png");
  await press(page, "KeyZ");
  const credits = await waitFor(page, (frame) => differences(frame, nativeCredits) === 0, 5000);
  check("Z starts the game: the first credit page equals the native game's frame", credits && (await prompt()) === "",
        differences(await canvas(page), nativeCredits) + " pixels differ");
  check("Z starts the sound too", await page.evaluate(() => Module.audioContext.state === "running"));
  await sleep(600);
  check("the starting key is not a press of A", differences(await canvas(page), nativeCredits) === 0);
  await shot(page, "web-credits.png");
  // The page as shown: each game pixel a sharp 4 x 4 square of its own colour.
  const box = await page.box("#canvas");
  const shown = readPng(await page.screenshot(null, box)).data;
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

  for (let credit = 0; credit < 3; credit++) await press(page, "KeyZ");
  const title = await waitFor(page, (frame) => differences(frame, nativeTitle, menuBox) === 0, 5000);
  check("Z turns the credit pages to the title menu", title,
        differences(await canvas(page), nativeTitle, menuBox) + " pixels of the entries differ");
  await shot(page, "web-title.png");
  // The menu music is heard: it plays and the mixer's output is not silent.
  const music = await page.evaluate(async () => {
    const mixer = Module.mixer, analyser = mixer.context.createAnalyser();
    mixer.output.connect(analyser);
    await new Promise((done) => setTimeout(done, 300));
    const samples = new Float32Array(analyser.fftSize);
    analyser.getFloatTimeDomainData(samples);
    mixer.output.disconnect(analyser);
    return { track: mixer.music && mixer.music.name, state: mixer.context.state,
             loudest: Math.max(...samples.map(Math.abs)), clicks: mixer.played.click || 0 };
  });
  check("the menu music plays and is heard", music.track === "menu" && music.state === "running" && music.loudest > 0.01,
        JSON.stringify(music));
  check("each page turned with A clicks", music.clicks === 3, music.clicks + " clicks");

  // The sounds as the browser decoded them: each exactly as long as its WAV, so that
  // the music loops on the beat and an effect holds its channel as long as on the
  // desktop; as loud as the WAV throughout; and each music track with no larger step at
  // its seam than the WAV has.
  const names = fs.readdirSync(dataDir).filter((name) => name.endsWith(".wav")).map((name) => name.slice(0, -4));
  const soundProblems = [];
  for (const name of names) {
    const wav = wavSamples(path.join(dataDir, name + ".wav"));
    const decoded = await page.evaluate((name) => {
      const buffer = Module.sounds[name];
      return buffer && { rate: buffer.sampleRate, samples: Array.from(buffer.getChannelData(0)) };
    }, name);
    if (!decoded || decoded.rate !== 22050 || decoded.samples.length !== wav.length) {
      soundProblems.push(name + (decoded ? ": " + decoded.samples.length + " samples at " + decoded.rate + " Hz, not " +
                                           wav.length : " not decoded"));
      continue;
    }
    // Loudness in 20 ms windows (a lossy codec keeps how a noise sounds, not its waveform).
    let worst = 0;
    for (let start = 0; start + 441 <= wav.length; start += 441) {
      const rms = (samples) => Math.sqrt(samples.slice(start, start + 441).reduce((sum, x) => sum + x * x, 0) / 441);
      const original = rms(wav);
      if (original > 0.003) worst = Math.max(worst, Math.abs(20 * Math.log10(rms(decoded.samples) / original)));
    }
    if (worst > 2) soundProblems.push(name + "'s loudness strays " + worst.toFixed(1) + " dB from its WAV's");
    const last = wav.length - 1, seam = Math.abs(decoded.samples[last] - decoded.samples[0]);
    if (["menu", "ingame", "danger"].includes(name) && seam > Math.abs(wav[last] - wav[0]) + 0.05)
      soundProblems.push(name + " steps at its seam by " + seam.toFixed(3));
  }
  check("every sound decodes to its WAV's samples and length, and the music loops seamlessly",
        soundProblems.length === 0 && names.length === 15, soundProblems.join("; "));

  // The browser's keys stay the browser's; the game's keys do not scroll or open menus.
  await page.evaluate(() => {
    window.keysSeen = [];
    window.addEventListener("keydown", (event) => window.keysSeen.push(event.code + (event.defaultPrevented ? "!" : "")));
  });
  for (const keys of [["F5"], ["ControlLeft", "KeyR"], ["F11"], ["ControlLeft", "Equal"], ["ControlLeft", "KeyF"],
                      ["AltLeft", "ArrowLeft"], ["ArrowUp"], ["KeyX"]]) {
    for (const key of keys) await page.keyDown(key);
    for (const key of keys.reverse()) await page.keyUp(key);
  }
  await page.keyPress("Tab");
  const seen = (await page.evaluate(() => window.keysSeen)).join(" ");
  check("F5, Ctrl+R, F11, zoom, find and Tab are the browser's; the game's own keys are the game's",
        seen === "F5 ControlLeft! KeyR F11 ControlLeft! Equal ControlLeft! KeyF AltLeft! ArrowLeft! ArrowUp! KeyX! Tab",
        seen);
  await page.evaluate(() => document.getElementById("canvas").focus());
  // Two keys feed A: letting go of one leaves it held by the other.
  await page.keyDown("ControlLeft");
  await page.keyDown("KeyZ");
  await page.keyUp("KeyZ");
  const stillHeld = await held(page, 306);
  await page.keyUp("ControlLeft");
  check("A stays down while left Ctrl or Z holds it", stillHeld === 1 && (await held(page, 306)) === 0);

  // Into a game with the keyboard: back to the menu first (the test's own presses of Z
  // above chose Play, or not).
  await page.reload();
  await waitUntil(page, () => Module.loaded, 10000);
  await press(page, "KeyZ");
  const sailing = await playIntoGame(page, () => press(page, "KeyZ"));
  const before = await canvas(page);
  await page.keyDown("ArrowLeft");
  await sleep(800);
  await page.keyUp("ArrowLeft");
  const moved = differences(before, await canvas(page));
  check("Z plays into a game, and the arrows steer", sailing && moved > 0, "sailing " + sailing + ", " + moved + " pixels moved");
  await shot(page, "web-sailing.png");

  // A hidden tab stands still and silent, and goes on where it was when shown again.
  const other = await browser.newPage();
  await other.bringToFront();
  const hidden = await waitUntil(page, () => document.hidden, 3000);
  const framesHidden = await framesShown(page);
  await sleep(1500);
  const stood = (await framesShown(page)) === framesHidden;
  const silent = await page.evaluate(() => Module.mixer.context.state);
  await page.bringToFront();
  await other.close();
  await waitUntil(page, () => !document.hidden, 3000);
  await sleep(500);
  const after = await page.evaluate(() => ({ state: Module.mixer.context.state, frames: Module.framesShown,
                                             track: Module.mixer.music && Module.mixer.music.name }));
  check("a hidden tab runs no frame and pauses the sound", hidden && stood && silent === "suspended",
        "hidden " + hidden + ", frames " + (stood ? "stood" : "ran") + ", audio " + silent);
  check("shown again, it plays on", after.frames > framesHidden && after.state === "running" && after.track === "ingame",
        JSON.stringify(after));

  // The score survives a reload: the boot frame reads it back rather than writing 0.
  await page.evaluate((key) => localStorage.setItem(key, "77"), scoreKeys[0] ? scoreKeys[0][0] : "none");
  await page.reload();
  await waitUntil(page, () => Module.loaded, 10000);
  await press(page, "KeyZ");
  await waitFor(page, (frame) => differences(frame, nativeCredits) === 0, 5000);
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
  check("a game pad's bottom face button turns the credit page",
        await waitFor(page, (frame) => differences(frame, nativeCredits) > 1000, 2000));
  // Full screen from the page's button, the picture still whole and sharp; and a
  // small window, where the picture and the help still keep apart.
  await page.click("#fullscreen");
  const full = await waitUntil(page, () => !!document.fullscreenElement, 3000);
  const fullBox = await page.box("#canvas");
  await page.evaluate(() => document.exitFullscreen());
  check("the full screen button shows the game full screen, scaled by whole pixels",
        full && fullBox.width % W === 0 && fullBox.height === fullBox.width * 3 / 4, JSON.stringify(fullBox));
  await page.setViewport({ width: 320, height: 260, deviceScaleFactor: 1 });
  await sleep(200);
  const small = await page.evaluate(() => ({ canvas: document.getElementById("canvas").getBoundingClientRect().toJSON(),
                                             help: document.getElementById("help").getBoundingClientRect().toJSON() }));
  check("in a 320 x 260 window the picture and the help keep apart",
        small.canvas.bottom <= small.help.top && small.help.bottom <= 260 && small.canvas.width === W,
        JSON.stringify(small));
  await page.setViewport(desktop);
  check("the page reports no error and no warning", page.problems.length === 0, page.problems.join("; "));

  // Offline: the service worker kept every file, so with the server gone a reload still
  // plays.
  check("a service worker keeps the page", await page.evaluate(() => !!navigator.serviceWorker.controller));
  await server.stop();
  await page.reload();
  await waitUntil(page, () => Module.loaded, 10000);
  await press(page, "KeyZ");
  const offline = await waitFor(page, (frame) => differences(frame, nativeCredits) === 0, 5000);
  check("with the server gone, a reload plays: the first credit page", offline &&
        (await page.evaluate(() => Object.keys(Module.sounds).length)) === 15);

  // A new version served: the next visit shows the kept page, whose worker finds the new
  // one; it takes over and the page reloads itself into the new version.
  const index = fs.readFileSync(path.join(site, "index.html"), "utf8")
      .replace("<title>", '<meta name="test-version" content="new">\n<title>');
  fs.writeFileSync(path.join(site, "index.html"), index);
  const worker = fs.readFileSync(path.join(site, "sw.js"), "utf8")
      .replace(/const VERSION = "(\w+)"/, 'const VERSION = "$1-new"');
  fs.writeFileSync(path.join(site, "sw.js"), worker);
  for (const file of ["index.html", "sw.js"])
    for (const suffix of [".gz", ".br"]) fs.rmSync(path.join(site, file + suffix), { force: true });
  server = serveFolder(site, { missing });
  await new Promise((done) => server.listen(port, "127.0.0.1", done));
  await page.goto(url);
  const updated = await waitUntil(page, () => !!document.querySelector('meta[name="test-version"]'), 10000);
  check("a new version served reaches the page by itself", updated);
  await page.close();

  // ---------------------------------------------------------------------------------
  section("on a phone");
  const phone = await openPage(undefined, upright);
  // Fingers held down together for a while, at page points, then lifted.
  async function touch(points, ms) {
    const touchPoints = points.map(([x, y], id) => ({ x, y, id, radiusX: 8, radiusY: 8, force: 1 }));
    await phone.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints });
    await sleep(ms);
    await phone.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    await sleep(120);
  }
  const centre = async (selector) => {
    const box = await phone.box(selector);
    return [box.x + box.width / 2, box.y + box.height / 2];
  };
  const padPoint = async (dx, dy) => {
    const box = await phone.box("#dpad");
    return [box.x + box.width / 2 + dx * box.width * 0.35, box.y + box.height / 2 + dy * box.height * 0.35];
  };
  // The layout: the picture whole, sharp and uncovered, the controls on the screen and
  // large enough for thumbs, the help on the screen.
  async function checkLayout(name, viewport) {
    const layout = await phone.evaluate(() => {
      const box = (id) => document.getElementById(id).getBoundingClientRect().toJSON();
      return { canvas: box("canvas"), controls: ["dpad", "button-a", "button-b", "button-start"].map(box),
               help: box("help"), width: innerWidth, height: innerHeight,
               scrolls: document.documentElement.scrollWidth > innerWidth ||
                        document.documentElement.scrollHeight > innerHeight };
    });
    const inside = (b) => b.left >= 0 && b.top >= 0 && b.right <= layout.width + 0.5 && b.bottom <= layout.height + 0.5;
    const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
    // Boxes come in 1/64 of a pixel.
    const c = layout.canvas, scale = c.width * viewport.deviceScaleFactor / W;
    const problems = [];
    if (!inside(c) || Math.abs(scale - Math.round(scale)) > 0.01 || Math.abs(c.height / c.width - 0.75) > 0.001)
      problems.push("picture " + JSON.stringify(c));
    layout.controls.forEach((b, i) => {
      if (!inside(b) || !apart(b, c) || Math.min(b.width, b.height) < (i === 3 ? 30 : 48))
        problems.push("control " + i + " " + JSON.stringify(b));
    });
    if (!inside(layout.help) || layout.scrolls) problems.push("help " + JSON.stringify(layout.help));
    check("held " + name + ", the picture is whole and sharp, the controls beside it, the help on the screen",
          problems.length === 0 && c.width >= layout.width * (name === "upright" ? 0.85 : 0.5), problems.join("; "));
  }
  await phone.goto(url);
  await waitUntil(phone, () => Module.loaded, 10000);
  check("a phone's start prompt says tap, and its help speaks of touch",
        await phone.evaluate(() => /Tap to play/.test(document.getElementById("prompt").innerText) &&
                                   /thumb/.test(document.getElementById("controls").innerText)));
  await checkLayout("upright", upright);
  await shot(phone, "web-phone-prompt.png");
  await touch([await centre("#canvas")], 80);
  check("a tap starts the game and its sound",
        await waitFor(phone, (frame) => differences(frame, nativeCredits) === 0, 5000) &&
        await phone.evaluate(() => Module.mixer.context.state === "running" && Module.mixer.music.name === "menu"));
  const tapA = async () => touch([await centre("#button-a")], 100);
  const intoGame = await playIntoGame(phone, tapA);
  check("touch alone plays from the credits into a game", intoGame);
  // The pad's eight ways, each held keys as the arrows would.
  const ways = [[1, 0, [275]], [1, 1, [275, 274]], [0, 1, [274]], [-1, 1, [276, 274]], [-1, 0, [276]],
                [-1, -1, [276, 273]], [0, -1, [273]], [1, -1, [275, 273]]];
  const wrongWays = [];
  for (const [dx, dy, keys] of ways) {
    const [x, y] = await padPoint(dx, dy);
    await phone.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x, y, id: 0 }] });
    await sleep(60);
    const down = [];
    for (const key of [273, 274, 275, 276]) if (await held(phone, key)) down.push(key);
    await phone.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    if (down.sort().join() !== keys.sort().join()) wrongWays.push(dx + "," + dy + ": " + down.join("+"));
  }
  check("the pad steers eight ways", wrongWays.length === 0, wrongWays.join("; "));
  // Steering: the ship turns and sails where the thumb holds, sliding from one way to
  // the next, so that its 24 x 24 box (the ship and what it sails over) changes.
  async function headingsSeen() {
    const pictures = new Set();
    const [x0, y0] = await padPoint(-1, 0);
    await phone.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: x0, y: y0, id: 0 }] });
    for (const [dx, dy] of [[-1, 0], [0, 1], [1, 0], [0, -1]]) {
      const [x, y] = await padPoint(dx, dy);
      await phone.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [{ x, y, id: 0 }] });
      await sleep(600);
      const frame = await canvas(phone);
      const ship = [];
      for (let row = 36; row < 60; row++) ship.push(frame.slice((row * W + 68) * 4, (row * W + 92) * 4).join());
      pictures.add(ship.join(";"));
    }
    await phone.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
    return pictures.size;
  }
  const headings = await headingsSeen();
  check("sliding a thumb on the pad steers the ship", headings >= 3, headings + " pictures of the ship");
  await shot(phone, "web-phone-upright.png");
  // Firing while steering: one thumb on the pad, the other taps A.
  const shotsBefore = await phone.evaluate(() => Module.mixer.played.shoot || 0);
  const [ax, ay] = await centre("#button-a");
  const [px, py] = await padPoint(0, 1);
  await phone.send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [{ x: px, y: py, id: 0 }] });
  await sleep(200);
  await phone.send("Input.dispatchTouchEvent", { type: "touchStart",
                                                 touchPoints: [{ x: px, y: py, id: 0 }, { x: ax, y: ay, id: 1 }] });
  await sleep(150);
  const both = [await held(phone, 274), await held(phone, 306)];
  // The A thumb lifts, the pad thumb stays.
  await phone.send("Input.dispatchTouchEvent", { type: "touchMove", touchPoints: [{ x: px, y: py, id: 0 }] });
  await sleep(200);
  const steering = await held(phone, 274);
  await phone.send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] });
  await sleep(200);
  const fired = (await phone.evaluate(() => Module.mixer.played.shoot || 0)) > shotsBefore;
  check("two thumbs steer and fire together", both.join() === "1,1" && steering === 1 && fired,
        "down+A held " + both.join() + ", down after A let go " + steering + ", fired " + fired);

  // Turned sideways, mid-game: the same checks, and the pad still steers.
  await phone.setViewport(sideways);
  await sleep(300);
  await checkLayout("sideways", sideways);
  const headingsSideways = await headingsSeen();
  check("sideways, the pad still steers the ship", headingsSideways >= 3, headingsSideways + " pictures of the ship");
  await shot(phone, "web-phone-sideways.png");
  check("the phone's page reports no error and no warning", phone.problems.length === 0, phone.problems.join("; "));
  await phone.close();

  // ---------------------------------------------------------------------------------
  section("each trouble ends in a one-line message");
  async function message(setup, expected, name) {
    const context = await browser.newContext();
    const page = await openPage(context, desktop);
    await setup(page);
    const begun = Date.now();
    let text = "";
    while (Date.now() - begun < 5000 && !expected.test(text)) {
      await sleep(100);
      text = await page.evaluate(() => {
        const failure = document.getElementById("failure");
        return (failure ? failure.textContent : "") + document.getElementById("status").textContent;
      }).catch(() => "");
    }
    check(name, expected.test(text) && !/\n/.test(text) && text.length < 120, JSON.stringify(text));
    const playable = await page.evaluate(() => typeof Module === "object" && Module.loaded === true).catch(() => false);
    if (playable) {
      await press(page, "KeyZ");
      check("... and the game plays on", await waitFor(page, (frame) => differences(frame, nativeCredits) === 0, 5000));
    }
    await browser.closeContext(context);
  }
  const missingFile = (file) => async (page) => {
    missing.clear();
    missing.add("/" + file);
    await page.goto(url);
  };
  await message(missingFile("game.js"), /^game\.js could not be loaded \(HTTP 404\)/, "a missing game.js");
  await message(missingFile("game.wasm"), /^game\.wasm could not be loaded \(HTTP 404\)/, "a missing game.wasm");
  await message(missingFile("data/menu.ogg"), /^Playing without a sound: data\/menu\.ogg \(HTTP 404\)/, "a missing sound");
  missing.clear();
  await message((page) => page.goto("file://" + path.resolve(webDir, "index.html")), /^Opened as a file/,
                "the page opened as a file");
  await message(async (page) => {
    await page.addScriptToNewDocuments(() => { delete window.WebAssembly; });
    await page.goto(url);
  }, /cannot run WebAssembly/, "a browser without WebAssembly");
  await message(async (page) => {
    await page.addScriptToNewDocuments(() => {
      delete window.AudioContext;
      delete window.webkitAudioContext;
      delete window.OfflineAudioContext;
    });
    await page.goto(url);
  }, /no Web Audio: the game plays without sound/, "a browser without Web Audio");
} finally {
  await browser.close();
  await server.stop();
}
console.log(passes + " passed, " + failures + " failed (" + ((Date.now() - started) / 1000).toFixed(0) + " s)");
process.exit(failures === 0 ? 0 : 1);
