#!/usr/bin/env python3
"""The page (make web) as a viewer uses it, in Debian's headless chromium driven through
Selenium, served over HTTP on 127.0.0.1: the cases of the table at the end, all by default,
one after another in one browser. page.py BUILD_DIR [CASE ...]"""
import base64, functools, http.server, os, statistics, subprocess, sys, tempfile, threading, time
from drive import until

# Web Audio's own account of the music, recorded where the page cannot touch it: each source
# node's start (the context's time then, the offset into the music) and stop.
HEARD = """window.heard = {};
const start = AudioBufferSourceNode.prototype.start, stop = AudioBufferSourceNode.prototype.stop;
AudioBufferSourceNode.prototype.start = function (when, offset) {
  Object.assign(heard, {node: this, at: this.context.currentTime, offset: offset || 0});
  return start.apply(this, arguments); };
AudioBufferSourceNode.prototype.stop = function () {
  if (heard.node === this) Object.assign(heard, {stopped: musicMs(), node: null});
  return stop.apply(this, arguments); };
const now = context => { const t = context.getOutputTimestamp();  // what is heard now, Web Audio says
  return t.contextTime + (performance.now() - t.performanceTime) / 1000; };
window.musicMs = () => heard.node ? (heard.offset + Math.max(now(heard.node.context), heard.at) - heard.at) * 1000 : null;
window.offsets = [];  // at each frame the page says it drew, its show time less the music's
// as the frame began, when the show read its clock (drawing it may take longer than a frame)
const raf = requestAnimationFrame; window.requestAnimationFrame = f => raf(t => { window.began = musicMs(); f(t); });
// What the page said, and the canvas's size then, kept across its reloads.
window.said = () => JSON.parse(sessionStorage.said || "[]");
new MutationObserver(() => { const [word, ms] = (document.body.dataset.show || "").split(" ");
  sessionStorage.said = JSON.stringify([...said(), `${word} ${canvas.width}x${canvas.height}`]);
  const box = canvas.getBoundingClientRect();  // the canvas in the page as the latest frame shows
  if (word === "frame") sessionStorage.fit = JSON.stringify([box.width, box.height, innerWidth, innerHeight]);
  if (word === "frame" && heard.node && began !== null) offsets.push(Number(ms) - began); })
  .observe(document, {subtree: true, attributeFilter: ["data-show"]});"""

class Page:
    """Chromium on the page of BUILD/web; the files named in `missing` answer 404."""
    def __init__(self, build):
        from selenium import webdriver
        self.missing = set()
        page = self
        class Files(http.server.SimpleHTTPRequestHandler):
            def do_GET(self):
                if self.path.lstrip("/").split("?")[0] in page.missing:
                    return self.send_error(404)
                super().do_GET()
            def log_message(self, *args):
                pass
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Files, directory=build + "/web"))
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        options = webdriver.ChromeOptions()
        for flag in ["--headless=new", "--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox",
                     "--autoplay-policy=no-user-gesture-required", "--window-size=1024,768"]:
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        self.driver = webdriver.Chrome(service=webdriver.chrome.service.Service("/usr/bin/chromedriver"), options=options)
        self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": HEARD})

    def open(self, query=""):
        self.driver.get(f"http://127.0.0.1:{self.server.server_port}/{query}")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def said(self, what, within=30):  # waits until the show says `what` ("still", "frame", "ended") and returns it
        return until(lambda: (s := self.js("return document.body.dataset.show || ''")).startswith(what) and s,
                     f"the page saying {what}", within)

    def canvas(self):  # the canvas's pixels as PNG bytes
        return base64.b64decode(self.js("return document.getElementById('canvas').toDataURL()").split(",")[1])

    def key(self, name):  # a key pressed and let go, as the keyboard sends it
        from selenium.webdriver import ActionChains, Keys
        ActionChains(self.driver).send_keys(getattr(Keys, name)).perform()

    def click(self, id):
        until(lambda: self.js(f"return !document.getElementById('{id}').hidden"), f"#{id} shown")
        self.js(f"document.getElementById('{id}').click()")

    def question(self):  # the box's caption and text once shown
        until(lambda: self.js("return !document.getElementById('box').hidden"), "a question")
        return self.js("return [caption.textContent, text.textContent]")

    def severe(self):  # the console's errors since last asked
        return [e for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]

    def close(self):
        self.driver.quit()
        self.server.shutdown()

def page_frames(page, build, out):
    """12 moments through ?at=, the first, and the page's own call for each further one, against
    the capture tool's: every effect, the cards and their wipes, the outlined scene, the background."""
    times = [4000, 15000, 22500, 31000, 41000, 60000, 72000, 97000, 108000, 130000, 150000, 168000]
    capture = subprocess.Popen([build + "/velmora-capture", "--out-dir", out, *(a for t in times for a in ("--at", str(t)))],
                               cwd=build, stdout=subprocess.DEVNULL)
    page.open(f"?at={times[0]}")
    for t in times:
        if t != times[0]:
            page.js(f"still({t})")
        page.said(f"still {t}")
        with open(f"{out}/page-{t:06d}.png", "wb") as f:
            f.write(page.canvas())
    assert capture.wait(60) == 0
    db = [float(subprocess.run(["compare", "-metric", "PSNR", f"{out}/page-{t:06d}.png", f"{out}/frame-{t:06d}.png",
                                "null:"], capture_output=True, text=True).stderr.split()[0]) for t in times]
    assert min(db) >= 30 and statistics.median(db) >= 35, f"PSNR at {times}: {db}"

def page_play(page, build, out):
    """The questions answered by clicks, the music in step with the show, Space, Right, Escape;
    from 36 s, where frames draw quickly."""
    page.open("?start=36000")
    assert page.question() == ["Start FullScreen?", "Would You Like To Run In Fullscreen Mode?"]
    page.click("no")
    until(lambda: page.question() == ["yes->800x600; no->640->480?", "800x600?"], "the second question")
    page.click("yes")
    page.said("frame")
    assert page.js("return [canvas.width, canvas.height]") == [800, 600]
    until(lambda: page.js("return musicMs()"), "the music playing")
    offsets = until(lambda: (o := page.js("return offsets")) and len(o) >= 60 and o, "60 frames with music")
    assert max(map(abs, offsets)) <= 50, f"the music is up to {max(map(abs, offsets)):.0f} ms from the show"
    page.key("SPACE")
    until(lambda: page.js("return musicMs() === null"), "the music held")
    held = page.canvas()
    end = time.time() + 1
    until(lambda: time.time() > end or page.canvas() != held, "a second paused")
    assert page.canvas() == held, "the picture moved while paused"
    page.key("SPACE")
    until(lambda: page.js("return musicMs()"), "the music going on")
    assert abs(page.js("return heard.offset * 1000 - heard.stopped")) <= 50, "the music jumped over the pause"
    began, before = time.time(), page.js("return musicMs()")
    page.key("ARROW_RIGHT")  # lands 5 s past the moment of the key, between `before` and now
    landed = until(lambda: (m := page.js("return heard.offset * 1000")) > before + 4000 and m, "the jump")
    assert before + 4950 <= landed <= before + 5050 + (time.time() - began) * 1000, f"Right: {before} to {landed}"
    for key, state in [("F1", True), ("F1", False), ("F1", True), ("ESCAPE", False)]:  # F1 switches full
        page.key(key)  # screen where the browser allows it; Escape there leaves it, the show going on
        until(lambda: page.js("return !!document.fullscreenElement") == state, f"full screen {state}")
    shown = len(page.js("return said()"))
    until(lambda: page.js("return said()")[shown:].count("frame 800x600") > 2, "the show going on")
    page.key("ESCAPE")
    assert page.question()[0] == "Start FullScreen?", "Escape did not return to the questions"

def page_end(page, build, out):
    """URL parameters answer both questions: one click on Play; the end returns to them."""
    page.open("?window&size=640x480&start=174500")
    page.click("play")
    until(lambda: "ended 640x480" in page.js("return said()"), "the end", 90)
    w, h, pageW, pageH = page.js("return JSON.parse(sessionStorage.fit)")
    assert abs(w * 3 - h * 4) < 4 and min(pageW - w, pageH - h) < 1, f"{w}x{h} in {pageW}x{pageH}"  # fills one side
    before = len(page.js("return said()"))
    page.click("play")  # the page as it began: the parameters answer, one click to play again
    until(lambda: "frame 640x480" in page.js("return said()")[before:], "the show played again")

def page_errors(page, build, out):
    """The data file that holds the assets or the program cannot be fetched, or the browser has no
    WebGL 2: one line on the page that says so."""
    said = lambda: until(lambda: (t := page.js("return document.getElementById('status').textContent")).startswith("velmora:") and t, "a failure")
    cdp = page.driver.execute_cdp_cmd
    cdp("Network.enable", {})
    cdp("Network.setCacheDisabled", {"cacheDisabled": True})  # each fetched anew
    no_webgl2 = cdp("Page.addScriptToEvaluateOnNewDocument", {"source": """const get =
        HTMLCanvasElement.prototype.getContext; HTMLCanvasElement.prototype.getContext = function (kind) {
        return kind === "webgl2" ? null : get.apply(this, arguments); };"""})  # asked for once all loaded
    for query, missing, line in [("?window", "velmora.wasm", "velmora: cannot fetch velmora.wasm"),  # a new
                                 ("?at=1", "velmora.data", "velmora: cannot fetch velmora.data (Not Found)"),  # address
                                 ("?at=2", None, "velmora: this browser offers no WebGL 2: turn on its hardware "
                                  "acceleration, or try another")]:  # each: the same one again may not load
        page.missing = {missing}
        page.open(query)
        assert said() == line, said()
    cdp("Page.removeScriptToEvaluateOnNewDocument", no_webgl2)  # the browser as it was
    cdp("Network.setCacheDisabled", {"cacheDisabled": False})
    page.missing = set()
    page.severe()  # the refusals' errors were meant

CASES = {"page_frames": page_frames, "page_play": page_play, "page_end": page_end, "page_errors": page_errors}

if __name__ == "__main__":
    build, failed = os.path.abspath(sys.argv[1]), []
    page, out = Page(build), tempfile.mkdtemp(prefix="page-")
    try:
        for name in sys.argv[2:] or CASES:
            try:
                CASES[name](page, build, out)
                assert not (errors := page.severe()), f"the console says {errors}"
                print("ok", name)
            except AssertionError as e:
                failed.append(name)
                print(f"FAILED {name}: {e}")
            page.js("sessionStorage.clear()")  # what the page said, kept across its reloads
    finally:
        page.close()
        subprocess.run(["rm", "-rf", out])
    sys.exit(1 if failed else 0)
