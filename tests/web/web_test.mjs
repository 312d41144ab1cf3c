// The browser build as players meet it, in Debian's headless Chromium with its default
// autoplay policy, the page served as a real server serves it (tools/web/serve.mjs):
//  - a first visit at 10 Mbit/s with 40 ms latency: the bytes transferred and the time
//    to the first frame;
//  - on a computer: the start prompt, which a modifier alone does not pass; Z alone
//    starting the game and its sound, with the credits equal to the native game's frame,
//    shown crisp; Z through the credits to the menu and its music; the sounds decoded to
//    their samples' length with seamless loops; the browser's own keys left to it; into
//    a game and sailing; the game standing still in a hidden tab; the score kept across
//    a reload; a game pad; full screen and a small window; a reload with the server
//    gone; a new version served;
//  - on a phone: a game played from the credits with touch alone; then upright and
//    sideways, the layout (the picture whole and sharp, the touch controls beside or
//    below it, the help inside the screen), a thumb sliding round the pad's eight ways,
//    and firing while steering;
//  - the one-line messages of a page opened as a file, no WebAssembly, no Web Audio, and
//    a missing game.js, game.wasm or sound.
// It drives the browser through its DevTools protocol (cdp.mjs) and leaves its
// pictures in WORK/shots.
//
//     node tests/web/web_test.mjs WEB_DIR NATIVE_DIR WORK_DIR DATA_DIR
import fs from "node:fs";
import path from "node:path";
import { serveFolder } from "../../tools/web/serve.mjs";
import { Browser } from "./cdp.mjs";

const [webDir, nativeDir, workDir, dataDir] = process.argv.slice(2);
const W = 160, H = 120;
let passes = 0, failures = 0;
function check(what, ok, detail = "") {
  if (ok) passes++; else failures++;
  console.log((ok ? "ok: " : "FAILED: ") + what + (ok || !detail ? "" : " (" + detail + ")"));
}
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));
const started = Date.now();
const seconds = () => ((Date.now() - started) / 1000).toFixed(0) + " s";

// Pixels of a picture shown at a whole scale (RGBA, scale times the game's frame in
// size) that differ in colour from a frame of the game, within a box of the frame.
function differences(shown, frame, box = { x: 0, y: 0, w: W, h: H }, scale = 1) {
  let count = 0;
  for (let y = box.y * scale; y < (box.y + box.h) * scale; y++)
    for (let x = box.x * scale; x < (box.x + box.w) * scale; x++) {
      const i = (y * W * scale + x) * 4, j = (Math.floor(y / scale) * W + Math.floor(x / scale)) * 4;
      if (shown[i] !== frame[j] || shown[i + 1] !== frame[j + 1] || shown[i + 2] !== frame[j + 2]) count++;
    }
  return count;
}
// The entries of the menu, below the rippling logo and right of the turning wheel.
const menuBox = { x: 44, y: 62, w: 116, h: 58 };

// The site is served from a copy, which the update check changes.
const site = path.join(workDir, "site");
fs.rmSync(site, { recursive: true, force: true });
fs.cpSync(webDir, site, { recursive: true });
const missing = new Set(), server = serveFolder(site, { missing });
const listen = (port) => new Promise((done, fail) => server.once("error", fail).listen(port, "127.0.0.1", done));
await listen(0);
const port = server.address().port, url = "http://127.0.0.1:" + port + "/";

fs.rmSync(path.join(workDir, "profile"), { recursive: true, force: true });
// Headless, its sound muted, with no sandbox (which cannot run as root), and none of
// its own traffic to Google's servers.
const browser = new Browser("/usr/bin/chromium", [
  "--headless", "--hide-scrollbars", "--mute-audio", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
  "--disable-background-networking", "--disable-component-update", "--disable-sync", "--force-color-profile=srgb",
  "--user-data-dir=" + path.join(workDir, "profile"),
]);
const desktop = { width: 700, height: 600, deviceScaleFactor: 1, mobile: false };
const upright = { width: 390, height: 844, deviceScaleFactor: 3, mobile: true,
                  screenOrientation: { angle: 0, type: "portraitPrimary" } };
const sideways = { ...upright, width: 844, height: 390, screenOrientation: { angle: 90, type: "landscapePrimary" } };

// A page on the screen given, in the browser context given (or the browser's own),
// which keeps the page's exceptions and the errors and warnings of its console and of
// the browser about it (less the test's own doing: it reads the canvas back again and
// again).
async function openPage(viewport, context = undefined) {
  const page = await browser.newPage(context);
  page.problems = [];
  const problem = (level, text) => {
    if (/^(error|warning)$/.test(level) && !/willReadFrequently/.test(text)) page.problems.push(text.split("\n")[0]);
  };
  page.on("Runtime.exceptionThrown", ({ exceptionDetails: e }) => problem("error", e.exception?.description || e.text));
  page.on("Runtime.consoleAPICalled", ({ type, args }) =>
    problem(type, args.map((arg) => arg.value ?? arg.description).join(" ")));
  page.on("Log.entryAdded", ({ entry }) => problem(entry.source === "worker" ? "" : entry.level, entry.text));
  await page.setViewport(viewport);
  return page;
}
// use(page) on a desktop page of a fresh profile (no cache, storage or service worker).
async function withFreshPage(use) {
  const { browserContextId } = await browser.send("Target.createBrowserContext");
  await use(await openPage(desktop, browserContextId));
  await browser.send("Target.disposeBrowserContext", { browserContextId });
}

// Whether probe() comes true within ms, asked every 50 ms.
async function until(ms, probe) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(50)) if (await probe()) return true;
  return false;
}
const inPage = (page, fn, ms = 10000) => until(ms, () => page.evaluate(fn).catch(() => false));
// The canvas's pixels; none when there is no canvas (a browser's error page).
const canvas = (page) => page.evaluate(() => Array.from(
    document.getElementById("canvas").getContext("2d").getImageData(0, 0, 160, 120).data)).catch(() => []);
const shows = (page, frame, box = undefined, ms = 5000) =>
  until(ms, async () => differences(await canvas(page), frame, box) === 0);
// Runs the steps [type, what, ms]: a key by its code going "keyDown" or "keyUp", or
// fingers at page points [x, y] on "touchStart", "touchMove" or "touchEnd" (see
// cdp.mjs), each followed by ms of waiting. Gives which of the game's keys (input.h's
// codes) the game held after each step: "1" or "0" a key, a space between steps.
async function heldAfter(page, keys, steps) {
  const seen = [];
  for (const [type, what, ms = 0] of steps) {
    await (type.startsWith("key") ? page.key(type, what) : page.touch(type, what));
    await sleep(ms);
    seen.push(await page.evaluate((keys) => keys.map((key) => Module._GameKeyHeld(key)).join(""), keys));
  }
  return seen.join(" ");
}
const sound = (page) => page.evaluate(() => ({ state: Module.mixer.context.state, track: Module.mixer.music?.name,
                                              played: Module.mixer.played, frames: Module.framesShown }));
const middle = (box) => [box.x + box.width / 2, box.y + box.height / 2];
// A button press as the game sees it: down for a few frames, then let go.
const press = (page, code) => heldAfter(page, [], [["keyDown", code, 100], ["keyUp", code, 150]]);
// Opens the page by go (a navigation) and waits until the game is loaded.
const load = (page, go) => go.then(() => inPage(page, () => Module.loaded));
const shot = async (page, name) => fs.writeFileSync(path.join(workDir, "shots", name), await page.screenshot());

// The pixels of a PNG as RGBA, as the page decodes them, with no colour management.
const decode = (page, png) => page.evaluate(async (base64) => {
  const file = await (await fetch("data:image/png;base64," + base64)).blob();
  const image = await createImageBitmap(file, { colorSpaceConversion: "none", premultiplyAlpha: "none" });
  const context = new OffscreenCanvas(image.width, image.height).getContext("2d");
  context.drawImage(image, 0, 0);
  return Array.from(context.getImageData(0, 0, image.width, image.height).data);
}, png.toString("base64"));

// From the credits, with the given press of A, through the menu's Play, the welcome (a
// page each time one is typed out, a character a frame), the high score screen and the
// greeting until the ship sails: GameState 4 and overlayMode 0 (no dialog up), the
// game's own numbers, which the browser build exports.
async function playIntoGame(page, pressA, title) {
  for (let credit = 0; credit < 3; credit++) await pressA();
  await shows(page, title, menuBox, 3000);
  return until(60000, async () => {
    const sailing = await page.evaluate(() => HEAP32[Module._GameState >> 2] === 4 &&
                                              HEAP32[Module._overlayMode >> 2] === 0).catch(() => false);
    if (!sailing) await pressA();
    return sailing;
  });
}

// A WAV's samples (16-bit mono), from 0 to 1.
function wavSamples(file) {
  const bytes = fs.readFileSync(file);
  let at = 12;
  while (bytes.toString("ascii", at, at + 4) !== "data") at += 8 + bytes.readUInt32LE(at + 4);
  return Array.from({ length: bytes.readUInt32LE(at + 4) / 2 }, (_, i) => bytes.readInt16LE(at + 8 + 2 * i) / 32768);
}

try {
  // ---------------------------------------------------------------------------------
  console.log("-- a first visit at 10 Mbit/s and 40 ms (" + seconds() + ")");
  const firstFrames = [], sent = [], firstProblems = [];
  for (let visit = 0; visit < 3; visit++) await withFreshPage(async (page) => {
    await page.send("Network.emulateNetworkConditions",
                    { offline: false, latency: 40, downloadThroughput: 10e6 / 8, uploadThroughput: 10e6 / 8 });
    const sentBefore = server.bytesSent();
    await page.goto(url, "domContentEventFired");
    await press(page, "KeyZ");  // the player's first key, as soon as the page is there
    await inPage(page, () => Module.firstFrameAt !== undefined, 20000);
    firstFrames.push(await page.evaluate(() => Math.round(Module.firstFrameAt)));
    // Then everything the page and its service worker fetch.
    await inPage(page, async () => (await navigator.serviceWorker.getRegistration())?.active &&
                                   (await caches.keys()).length > 0);
    await sleep(500);
    sent.push(server.bytesSent() - sentBefore);
    firstProblems.push(...page.problems);
  });
  console.log("   first frame at " + firstFrames.join(", ") + " ms; " + sent.join(", ") + " bytes sent by the server");
  check("the page as transferred is at most 1,000,000 bytes", Math.max(...sent) <= 1e6);
  check("first visits report no error and no warning", firstProblems.length === 0, firstProblems.join("; "));
  check("the first frame comes within 1.5 s (the median)", firstFrames.every((ms) => typeof ms === "number") &&
        firstFrames.sort((a, b) => a - b)[1] <= 1500);

  // ---------------------------------------------------------------------------------
  console.log("-- on a computer (" + seconds() + ")");
  const page = await openPage(desktop);
  await load(page, page.goto(url));
  const [nativeCredits, nativeTitle] = await Promise.all(["credits.png", "title.png"].map(
      (name) => decode(page, fs.readFileSync(path.join(nativeDir, name)))));
  const prompt = () => page.evaluate(() => document.getElementById("prompt").hidden ? "" :
                                           document.getElementById("prompt").innerText);
  // A modifier alone is no gesture for the browser: the prompt stays, the game waits.
  const asked = await prompt();
  await press(page, "ControlLeft");
  check("a start prompt asks for a click or a key, and left Ctrl alone does not start the game",
        /Click or press a key to play/.test(asked) && (await prompt()) === asked &&
        (await page.evaluate(() => Module.framesShown)) === 0, asked);
  await press(page, "KeyZ");
  check("Z starts the game and its sound: the first credit page equals the native game's frame",
        await shows(page, nativeCredits) && (await prompt()) === "" &&
        await page.evaluate(() => Module.audioContext.state === "running"),
        differences(await canvas(page), nativeCredits) + " pixels differ");
  // A while later, the page as shown: the same credit page (the starting key is not a
  // press of A), each game pixel a sharp 4 x 4 square of its own colour.
  await sleep(600);
  const box = await page.box("#canvas");
  const blurred = box.width !== 4 * W || box.height !== 4 * H ? "canvas shown at " + box.width + " x " + box.height
      : differences(await decode(page, await page.screenshot(box)), nativeCredits, undefined, 4) + " pixels differ";
  check("the starting key is not a press of A, and the page shows the credits scaled four times, crisp",
        blurred === "0 pixels differ", blurred);

  // The scores the browser's storage keeps (each set to value first, when one is given).
  const scores = (value = null) => page.evaluate((value) => {
    const keys = Object.keys(localStorage).filter((key) => key.endsWith("/.Quillbarrow/score"));
    if (value !== null) for (const key of keys) localStorage.setItem(key, value);
    return keys.map((key) => localStorage.getItem(key)).join();
  }, value);
  const firstScore = await scores();

  for (let credit = 0; credit < 3; credit++) await press(page, "KeyZ");
  check("Z turns the credit pages to the title menu", await shows(page, nativeTitle, menuBox),
        differences(await canvas(page), nativeTitle, menuBox) + " pixels of the entries differ");
  await shot(page, "web-title.png");
  // The menu music is heard: it plays and the mixer's output is not silent.
  const loudest = await page.evaluate(async () => {
    const analyser = Module.mixer.context.createAnalyser();
    Module.mixer.output.connect(analyser);
    await new Promise((done) => setTimeout(done, 300));
    const samples = new Float32Array(analyser.fftSize);
    analyser.getFloatTimeDomainData(samples);
    return Math.max(...samples.map(Math.abs));
  });
  const music = { ...await sound(page), loudest };
  check("the menu music plays and is heard, and each page turned with A clicks", music.track === "menu" &&
        music.state === "running" && music.loudest > 0.01 && music.played.click === 3, JSON.stringify(music));

  // The sounds as the browser decoded them: each exactly as long as its WAV, so that
  // the music loops on the beat and an effect holds its channel as long as on the
  // desktop; as loud as the WAV throughout (in 20 ms windows: a lossy codec keeps how a
  // noise sounds, not its waveform); and each music track with no larger step at its
  // seam than the WAV has.
  const names = fs.readdirSync(dataDir).filter((name) => name.endsWith(".wav")).map((name) => name.slice(0, -4));
  const soundProblems = [];
  for (const name of names) {
    const wav = wavSamples(path.join(dataDir, name + ".wav"));
    const decoded = await page.evaluate((name) => Array.from(Module.sounds[name]?.getChannelData(0) ?? []), name);
    const rms = (samples, at) => Math.sqrt(samples.slice(at, at + 441).reduce((sum, x) => sum + x * x, 0) / 441);
    let worst = 0;
    for (let at = 0; at + 441 <= wav.length; at += 441)
      if (rms(wav, at) > 0.003) worst = Math.max(worst, Math.abs(20 * Math.log10(rms(decoded, at) / rms(wav, at))));
    const last = wav.length - 1, seam = Math.abs(decoded[last] - decoded[0]);
    if (decoded.length !== wav.length || worst > 2 ||
        ["menu", "ingame", "danger"].includes(name) && seam > Math.abs(wav[last] - wav[0]) + 0.05)
      soundProblems.push(name + ": " + decoded.length + " samples, not " + wav.length + "; loudness strays " +
                         worst.toFixed(1) + " dB; a step of " + seam.toFixed(3) + " at the seam");
  }
  check("every sound decodes to its WAV's samples and length, and the music loops seamlessly",
        soundProblems.length === 0 && names.length === 15, soundProblems.join("; "));

  // The browser's keys stay the browser's (a key the page took is marked !); the game's
  // keys do not scroll or open menus.
  await page.evaluate(() => addEventListener("keydown", (event) =>
    (window.keysSeen ??= []).push(event.code + (event.defaultPrevented ? "!" : ""))));
  for (const keys of [["F5"], ["ControlLeft", "KeyR"], ["F11"], ["ControlLeft", "Equal"], ["ControlLeft", "KeyF"],
                      ["AltLeft", "ArrowLeft"], ["ArrowUp"], ["KeyX"], ["Tab"]]) {
    for (const key of keys) await page.key("keyDown", key);
    for (const key of keys.reverse()) await page.key("keyUp", key);
  }
  const seen = (await page.evaluate(() => window.keysSeen)).join(" ");
  check("F5, Ctrl+R, F11, zoom, find and Tab are the browser's; the game's own keys are the game's",
        seen === "F5 ControlLeft! KeyR F11 ControlLeft! Equal ControlLeft! KeyF AltLeft! ArrowLeft! ArrowUp! KeyX! Tab",
        seen);
  await page.evaluate(() => document.getElementById("canvas").focus());
  // Two keys feed A (306): letting go of one leaves it held by the other.
  const heldA = await heldAfter(page, [306], [["keyDown", "ControlLeft"], ["keyDown", "KeyZ"], ["keyUp", "KeyZ"],
                                              ["keyUp", "ControlLeft"]]);
  check("A stays down while left Ctrl or Z holds it", heldA === "1 1 1 0", heldA);

  // Into a game with the keyboard: back to the menu first (the test's own presses of Z
  // above chose Play, or not).
  await load(page, page.reload());
  await press(page, "KeyZ");
  const sailing = await playIntoGame(page, () => press(page, "KeyZ"), nativeTitle);
  const before = await canvas(page);
  const left = await heldAfter(page, [276], [["keyDown", "ArrowLeft", 800], ["keyUp", "ArrowLeft"]]);
  const moved = differences(before, await canvas(page));
  check("Z plays into a game, and the left arrow holds left and steers", sailing && left === "1 0" && moved > 0,
        "sailing " + sailing + ", left " + left + ", " + moved + " pixels moved");
  await shot(page, "web-sailing.png");

  // A hidden tab stands still and silent, and goes on where it was when shown again.
  const other = await browser.newPage();
  await other.send("Page.bringToFront");
  const onHiding = await inPage(page, () => document.hidden, 3000) && await sound(page);
  await sleep(1500);
  const whileHidden = await sound(page);
  await page.send("Page.bringToFront");
  await other.close();
  await inPage(page, () => !document.hidden, 3000);
  await sleep(500);
  const shownAgain = await sound(page);
  check("a hidden tab runs no frame and pauses the sound; shown again, it plays on",
        whileHidden.frames === onHiding.frames && whileHidden.state === "suspended" &&
        shownAgain.frames > onHiding.frames && shownAgain.state === "running" && shownAgain.track === "ingame",
        JSON.stringify([whileHidden, shownAgain]));

  // The score survives a reload: the boot frame reads it back rather than writing 0.
  await scores("77");
  await load(page, page.reload());
  await press(page, "KeyZ");
  await shows(page, nativeCredits);
  const kept = await scores();
  check("the browser's storage keeps a score of 0 on a first visit, and the score across a reload",
        firstScore === "0" && kept === "77", firstScore + ", then " + kept);

  // A game pad in the browser's standard layout: its bottom face button is A and turns
  // the credit page.
  await page.evaluate(() => {
    const pad = (down) => ({ id: "test pad", index: 0, connected: true, mapping: "standard", timestamp: Date.now(),
                             axes: [0, 0, 0, 0], buttons: [...Array(17)].map((_, i) => ({ pressed: down && i === 0 })) });
    navigator.getGamepads = () => [pad(true)];
    setTimeout(() => { navigator.getGamepads = () => [pad(false)]; }, 150);
  });
  check("a game pad's bottom face button turns the credit page",
        await until(2000, async () => differences(await canvas(page), nativeCredits) > 1000));
  // Full screen from the page's button, the picture still whole and sharp; and a
  // small window, where the picture and the help still keep apart.
  await page.send("Runtime.evaluate", { expression: 'document.getElementById("fullscreen").click()', userGesture: true });
  const full = await inPage(page, () => !!document.fullscreenElement, 3000);
  const fullBox = await page.box("#canvas");
  await page.evaluate(() => document.fullscreenElement && document.exitFullscreen());
  check("the full screen button shows the game full screen, scaled by whole pixels",
        full && fullBox.width % W === 0 && fullBox.height === fullBox.width * 3 / 4, JSON.stringify(fullBox));
  await page.setViewport({ ...desktop, width: 320, height: 260 });
  await sleep(200);
  const [small, help] = [await page.box("#canvas"), await page.box("#help")];
  check("in a 320 x 260 window the picture and the help keep apart",
        small.bottom <= help.top && help.bottom <= 260 && small.width === W, JSON.stringify([small, help]));
  await page.setViewport(desktop);
  const computerProblems = page.problems.slice();

  // Offline: the service worker kept every file, the licences too, so with the server
  // gone a reload still plays.
  const worker = await page.evaluate(() => !!navigator.serviceWorker.controller);
  await server.stop();
  await load(page, page.reload());
  await press(page, "KeyZ");
  check("a service worker keeps the page: with the server gone, a reload plays the first credit page, every sound, " +
        "the licences", worker && await shows(page, nativeCredits) && /Quillbarrow/.test(await page.evaluate(async () =>
          Object.keys(Module.sounds).length === 15 && (await fetch("NOTICE")).text()).catch(() => "")));

  // A new version served: the next visit shows the kept page, whose worker finds the new
  // one; it takes over and the page reloads itself into the new version.
  for (const [file, from, to] of [["index.html", "<title>", '<meta name="test-version" content="new">\n<title>'],
                                  ["sw.js", /const VERSION = "(\w+)"/, 'const VERSION = "$1-new"']]) {
    fs.writeFileSync(path.join(site, file), fs.readFileSync(path.join(site, file), "utf8").replace(from, to));
    for (const suffix of [".gz", ".br"]) fs.rmSync(path.join(site, file + suffix), { force: true });
  }
  await listen(port);
  await page.goto(url);
  check("a new version served reaches the page by itself",
        await inPage(page, () => !!document.querySelector('meta[name="test-version"]')));
  await page.close();

  // ---------------------------------------------------------------------------------
  console.log("-- on a phone (" + seconds() + ")");
  const phone = await openPage(upright);
  const tap = async (selector) => heldAfter(phone, [], [["touchStart", [middle(await phone.box(selector))], 100],
                                                        ["touchEnd", [], 120]]);
  // Held upright or sideways: the layout, the picture whole, sharp and uncovered, the
  // controls on the screen and large enough for thumbs, the help on the screen (boxes
  // come in 1/64 of a pixel); then the pad and A at play.
  async function checkPhone(name, share) {
    const wrong = await phone.evaluate((share) => {
      const box = (id) => document.getElementById(id).getBoundingClientRect();
      const inside = (b) => b.left >= 0 && b.top >= 0 && b.right <= innerWidth + 0.5 && b.bottom <= innerHeight + 0.5;
      const apart = (a, b) => a.right <= b.left || b.right <= a.left || a.bottom <= b.top || b.bottom <= a.top;
      const c = box("canvas"), scale = c.width * devicePixelRatio / 160, page = document.documentElement;
      return [
        ["canvas", inside(c) && Math.abs(scale - Math.round(scale)) <= 0.01 && c.width >= innerWidth * share &&
                   Math.abs(c.height / c.width - 0.75) <= 0.001],
        ...["dpad", "button-a", "button-b", "button-start"].map((id, i) =>
          [id, inside(box(id)) && apart(box(id), c) && Math.min(box(id).width, box(id).height) >= (i === 3 ? 30 : 48)]),
        ["help", inside(box("help")) && page.scrollWidth <= innerWidth && page.scrollHeight <= innerHeight],
      ].filter(([, ok]) => !ok).map(([id]) => id + " " + JSON.stringify(box(id)));
    }, share);
    check("held " + name + ", the picture is whole and sharp, the controls beside it, the help on the screen",
          wrong.length === 0, wrong.join("; "));
    // A thumb comes down on the pad and slides round its eight ways, each holding the
    // game's keys as the arrows would: up, down, right, left.
    const pad = await phone.box("#dpad"), buttonA = middle(await phone.box("#button-a"));
    const at = (dx, dy) => [pad.x + (0.5 + dx * 0.35) * pad.width, pad.y + (0.5 + dy * 0.35) * pad.height];
    const ways = [[1, 0], [1, 1], [0, 1], [-1, 1], [-1, 0], [-1, -1], [0, -1], [1, -1]]
        .map(([dx, dy], i) => [i === 0 ? "touchStart" : "touchMove", [at(dx, dy)], 150]);
    const steered = await heldAfter(phone, [273, 274, 275, 276], [...ways, ["touchEnd", [], 100]]);
    check(name + ", a thumb on the pad steers eight ways, sliding from one to the next",
          steered === "0010 0110 0100 0101 0001 1001 1000 1010 0000", steered);
    // Firing while steering: one thumb holds down (274) on the pad, the other taps A
    // (306) and lifts, and the pad thumb stays.
    const shotsBefore = (await sound(phone)).played.shoot || 0;
    const thumbs = await heldAfter(phone, [274, 306], [
      ["touchStart", [at(0, 1)], 200], ["touchStart", [at(0, 1), buttonA], 150], ["touchEnd", [[...buttonA, 1]], 200],
      ["touchEnd", [], 200]]);
    const fired = (await sound(phone)).played.shoot > shotsBefore;
    check(name + ", two thumbs steer and fire together", thumbs === "10 11 10 00" && fired, thumbs + ", fired " + fired);
    await shot(phone, "web-phone-" + name + ".png");
  }
  await load(phone, phone.goto(url));
  check("a phone's start prompt says tap, and its help speaks of touch",
        await phone.evaluate(() => /Tap to play/.test(document.getElementById("prompt").innerText) &&
                                   /thumb/.test(document.getElementById("controls").innerText)));
  await tap("#canvas");
  const tapped = await shows(phone, nativeCredits), tappedSound = await sound(phone);
  check("a tap starts the game and its sound", tapped && tappedSound.state === "running" && tappedSound.track === "menu",
        JSON.stringify(tappedSound));
  check("touch alone plays from the credits into a game", await playIntoGame(phone, () => tap("#button-a"), nativeTitle));
  await checkPhone("upright", 0.85);
  // Turned sideways, mid-game: the same checks.
  await phone.setViewport(sideways);
  await sleep(300);
  await checkPhone("sideways", 0.5);
  const problems = [...computerProblems, ...phone.problems];
  check("the computer's and the phone's pages report no error and no warning", problems.length === 0, problems.join("; "));
  await phone.close();

  // ---------------------------------------------------------------------------------
  // Each trouble: the file the server lacks, the address opened instead of the site's, or
  // the script that takes from the browser what it lacks; the page's one-line message;
  // and whether the game plays on.
  console.log("-- each trouble ends in a one-line message (" + seconds() + ")");
  const troubles = [
    ["a missing game.js", { lost: "game.js" }, /^game\.js could not be loaded \(HTTP 404\)/],
    ["a missing game.wasm", { lost: "game.wasm" }, /^game\.wasm could not be loaded \(HTTP 404\)/],
    ["a missing sound", { lost: "data/menu.ogg", playsOn: true }, /^Playing without a sound: data\/menu\.ogg \(HTTP 404\)/],
    ["the page opened as a file", { address: "file://" + path.resolve(webDir, "index.html") }, /^Opened as a file/],
    ["a browser without WebAssembly", { script: "delete window.WebAssembly" }, /cannot run WebAssembly/],
    ["a browser without Web Audio", { script: "delete AudioContext; delete webkitAudioContext; delete OfflineAudioContext",
                                      playsOn: true }, /no Web Audio: the game plays without sound/],
  ];
  for (const [name, { lost, address = url, script, playsOn }, expected] of troubles) await withFreshPage(async (page) => {
    missing.clear();
    if (lost) missing.add("/" + lost);
    if (script) await page.send("Page.addScriptToEvaluateOnNewDocument", { source: script });
    await page.goto(address);
    let text = "";
    await until(5000, async () => expected.test(text = await page.evaluate(() =>
      (document.getElementById("failure") || document.getElementById("status")).textContent).catch(() => "")));
    check(name, expected.test(text) && !/\n/.test(text) && text.length < 120, JSON.stringify(text));
    if (playsOn) {
      await inPage(page, () => Module.loaded);
      await press(page, "KeyZ");
      check("... and the game plays on", await shows(page, nativeCredits));
    }
  });
} finally {
  await browser.close();
  await server.stop();
}
console.log(passes + " passed, " + failures + " failed (" + seconds() + ")");
process.exit(failures === 0 ? 0 : 1);
