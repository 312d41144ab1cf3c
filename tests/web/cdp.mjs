// Chromium driven through its DevTools protocol over a pipe (--remote-debugging-pipe):
// the browser reads commands on its fd 3 and writes answers and events on its fd 4,
// each message a JSON text ended by a NUL byte. Pages are targets, each spoken to
// through the session that Target.attachToTarget gives it. Just what the browser test
// needs: pages in contexts of their own, their events, navigation, input as a keyboard,
// a mouse and fingers give it, the screen a phone has, and pictures.
import { spawn } from "node:child_process";
import fs from "node:fs";

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Starts the browser; every command not answered within timeout ms fails.
export function launch(executable, args, { timeout = 30000 } = {}) {
  return new Browser(spawn(executable, ["--remote-debugging-pipe", ...args, "about:blank"],
                           { stdio: ["ignore", "pipe", "pipe", "pipe", "pipe"] }), timeout);
}

class Browser {
  constructor(child, timeout) {
    this.child = child;
    this.timeout = timeout;
    this.nextId = 1;
    this.waiting = new Map();    // command id -> its promise's ends
    this.listeners = new Map();  // method + " " + session id -> functions
    // The browser's own messages, kept for when it goes away unasked.
    this.log = "";
    child.stdout.resume();
    child.stderr.on("data", (chunk) => { this.log = (this.log + chunk).slice(-4000); });
    let partial = [];
    child.stdio[4].on("data", (chunk) => {
      let start = 0;
      for (let end; (end = chunk.indexOf(0, start)) >= 0; start = end + 1) {
        partial.push(chunk.subarray(start, end));
        this.receive(JSON.parse(Buffer.concat(partial).toString("utf8")));
        partial = [];
      }
      if (start < chunk.length) partial.push(chunk.subarray(start));
    });
    child.stdio[3].on("error", () => {});
    this.exited = new Promise((done) => child.on("exit", (code, signal) => {
      this.gone = "the browser exited (" + (signal || code) + "): " + this.log.trim().split("\n").slice(-5).join(" | ");
      for (const { fail } of this.waiting.values()) fail(new Error(this.gone));
      done();
    }));
  }

  send(method, params = {}, sessionId = undefined) {
    if (this.gone) return Promise.reject(new Error(method + ": " + this.gone));
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => fail(new Error(method + ": no answer in " + this.timeout + " ms")), this.timeout);
      const fail = (error) => {
        clearTimeout(timer);
        this.waiting.delete(id);
        reject(error);
      };
      this.waiting.set(id, { method, fail, resolve: (result) => { clearTimeout(timer); resolve(result); } });
      this.child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    });
  }

  receive(message) {
    if (message.id === undefined) {
      for (const listener of this.listeners.get(message.method + " " + (message.sessionId || "")) || [])
        listener(message.params);
      return;
    }
    const waiter = this.waiting.get(message.id);
    if (!waiter) return;
    this.waiting.delete(message.id);
    if (message.error) waiter.fail(new Error(waiter.method + ": " + message.error.message));
    else waiter.resolve(message.result);
  }

  // Calls listener with the parameters of each event of the method, from the session
  // (or the browser itself); returns the function that stops it.
  on(method, listener, sessionId = "") {
    const key = method + " " + sessionId;
    if (!this.listeners.has(key)) this.listeners.set(key, new Set());
    this.listeners.get(key).add(listener);
    return () => this.listeners.get(key).delete(listener);
  }

  // A context of its own is a fresh profile: no cache, storage or service worker.
  async newContext() {
    return (await this.send("Target.createBrowserContext")).browserContextId;
  }
  closeContext(id) {
    return this.send("Target.disposeBrowserContext", { browserContextId: id });
  }

  // A new tab, blank, in the given context (by default the browser's own).
  async newPage(browserContextId = undefined) {
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank", browserContextId });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = new Page(this, targetId, sessionId);
    await Promise.all(["Page.enable", "Runtime.enable", "Network.enable", "Log.enable"].map((method) => page.send(method))
                          .concat(page.send("Page.setLifecycleEventsEnabled", { enabled: true })));
    return page;
  }

  async close() {
    await this.send("Browser.close").catch(() => {});
    if (await Promise.race([this.exited.then(() => true), sleep(5000)])) return;
    this.child.kill("SIGKILL");
    await this.exited;
  }
}

// The keys the test presses, as a US keyboard gives them: the key code, the key and
// where a modifier sits (1: left). A letter's key code is its capital's code.
const keyDefinitions = {
  ControlLeft: [17, "Control", 1], AltLeft: [18, "Alt", 1], Tab: [9, "Tab"], Enter: [13, "Enter"],
  ArrowLeft: [37, "ArrowLeft"], ArrowUp: [38, "ArrowUp"], ArrowRight: [39, "ArrowRight"], ArrowDown: [40, "ArrowDown"],
  F5: [116, "F5"], F11: [122, "F11"], Equal: [187, "="],
};
const modifierBits = { Alt: 1, Control: 2, Meta: 4, Shift: 8 };

class Page {
  constructor(browser, targetId, sessionId) {
    this.browser = browser;
    this.targetId = targetId;
    this.sessionId = sessionId;
    this.modifiers = 0;
    this.keysDown = new Set();
  }
  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }
  on(method, listener) {
    return this.browser.on(method, listener, this.sessionId);
  }

  // The value of fn(...args) run in the page (awaited when it is a promise); what it
  // throws is thrown here. Run as script, not as a gesture of the player's.
  async evaluate(fn, ...args) {
    const { result, exceptionDetails } = await this.send("Runtime.evaluate", {
      expression: "(" + fn + ")(..." + JSON.stringify(args) + ")", awaitPromise: true, returnByValue: true,
    });
    if (exceptionDetails)
      throw new Error((exceptionDetails.exception && exceptionDetails.exception.description) || exceptionDetails.text);
    return result.value;
  }
  // Runs fn in every document the page opens from now on, before the page's own scripts.
  addScriptToNewDocuments(fn) {
    return this.send("Page.addScriptToEvaluateOnNewDocument", { source: "(" + fn + ")()" });
  }

  // Starts a navigation with start() and waits until the document it opened (or the
  // latest, when that one opened another) has fired the lifecycle event
  // ("DOMContentLoaded" or "load").
  async navigation(start, event, ms = 30000) {
    const seen = [];
    let reached, timer;
    const done = new Promise((resolve) => { reached = resolve; });
    const stop = this.on("Page.lifecycleEvent", (e) => {
      if (e.frameId !== this.targetId) return;
      seen.push(e);
      const opened = seen.findLast((e) => e.name === "init");
      if (opened && seen.some((e) => e.name === event && e.loaderId === opened.loaderId)) reached(true);
    });
    try {
      await start();
      if (!await Promise.race([done, new Promise((resolve) => { timer = setTimeout(resolve, ms, false); })]))
        throw new Error("no " + event + " in " + ms + " ms");
    } finally {
      clearTimeout(timer);
      stop();
    }
  }
  async goto(url, event = "load") {
    await this.navigation(async () => {
      const { errorText } = await this.send("Page.navigate", { url });
      if (errorText) throw new Error(url + ": " + errorText);
    }, event);
  }
  reload() {
    return this.navigation(() => this.send("Page.reload"), "load");
  }

  // The screen of a computer or a phone: its size in CSS pixels, device pixels to a CSS
  // pixel, and for a phone a touch screen, upright or sideways.
  async setViewport({ width, height, deviceScaleFactor = 1, isMobile = false, hasTouch = false, isLandscape = false }) {
    await this.send("Emulation.setDeviceMetricsOverride", {
      width, height, deviceScaleFactor, mobile: isMobile,
      screenOrientation: isLandscape ? { angle: 90, type: "landscapePrimary" } : { angle: 0, type: "portraitPrimary" },
    });
    await this.send("Emulation.setTouchEmulationEnabled", { enabled: hasTouch });
  }

  // A key by its KeyboardEvent.code, as a keyboard sends it: a key that types
  // something sends its text too, unless Ctrl, Alt or Meta is down.
  key(code) {
    const letter = /^Key([A-Z])$/.exec(code);
    const [keyCode, key, location = 0] = letter ? [letter[1].charCodeAt(0), letter[1].toLowerCase()] : keyDefinitions[code];
    const text = this.modifiers & ~modifierBits.Shift ? "" : code === "Enter" ? "\r" : key.length === 1 ? key : "";
    return { windowsVirtualKeyCode: keyCode, code, key, location, text };
  }
  async keyDown(code) {
    const { text, ...key } = this.key(code);
    const autoRepeat = this.keysDown.has(code);
    this.keysDown.add(code);
    this.modifiers |= modifierBits[key.key] || 0;
    await this.send("Input.dispatchKeyEvent", { type: text ? "keyDown" : "rawKeyDown", modifiers: this.modifiers,
                                                text, unmodifiedText: text, autoRepeat, ...key });
  }
  async keyUp(code) {
    const { text, ...key } = this.key(code);
    this.keysDown.delete(code);
    this.modifiers &= ~(modifierBits[key.key] || 0);
    await this.send("Input.dispatchKeyEvent", { type: "keyUp", modifiers: this.modifiers, ...key });
  }
  async keyPress(code) {
    await this.keyDown(code);
    await this.keyUp(code);
  }

  // An element's box in CSS pixels of the page (null when it is not there).
  box(selector) {
    return this.evaluate((selector) => {
      const element = document.querySelector(selector);
      if (!element) return null;
      const box = element.getBoundingClientRect();
      return { x: box.x, y: box.y, width: box.width, height: box.height };
    }, selector);
  }
  // A click of the left mouse button in the middle of the element.
  async click(selector) {
    const box = await this.box(selector);
    if (!box) throw new Error("no " + selector + " to click");
    const at = { x: box.x + box.width / 2, y: box.y + box.height / 2 };
    await this.send("Input.dispatchMouseEvent", { type: "mouseMoved", ...at });
    await this.send("Input.dispatchMouseEvent", { type: "mousePressed", ...at, button: "left", buttons: 1, clickCount: 1 });
    await this.send("Input.dispatchMouseEvent", { type: "mouseReleased", ...at, button: "left", buttons: 0, clickCount: 1 });
  }

  // The page as shown (or a box of it, in CSS pixels), as PNG bytes; written to file
  // when one is given.
  async screenshot(file = null, clip = null) {
    const { data } = await this.send("Page.captureScreenshot", {
      format: "png", fromSurface: true, captureBeyondViewport: false, ...(clip ? { clip: { ...clip, scale: 1 } } : {}),
    });
    const png = Buffer.from(data, "base64");
    if (file) fs.writeFileSync(file, png);
    return png;
  }

  bringToFront() {
    return this.send("Page.bringToFront");
  }
  close() {
    return this.browser.send("Target.closeTarget", { targetId: this.targetId });
  }
}
