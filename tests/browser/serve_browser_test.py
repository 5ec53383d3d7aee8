#!/usr/bin/python3
"""The chart server in a real browser: Debian's Chromium, driven through
chromedriver by python3-selenium (scripts/install-deps.sh installs them).

Builds the demo (chart and database), starts `davodu serve` on a free port
of 127.0.0.1, opens the demo chart in headless Chromium at 1920x1080 and, as
a user would with the mouse:
  - drags the GR curve's right edge 40 px out, saves, and finds the track
    wider in the saved document (`davodu dump`);
  - right-clicks the GR curve's head and deletes the curve from its menu;
  - drags the top boundary of a stratum and finds the table changed in the
    well database.
Then checks the server's refusals on the running process: a request without
the token, a chart outside the folder, a body of 100 MB (refused without the
server growing).

usage: serve_browser_test.py --davodu PATH --scratch DIR
Prints "N passed, N failed" and exits non-zero on a failure.
"""
import argparse
import http.client
import json
import os
import re
import shutil
import sqlite3
import subprocess
import sys
import time
import urllib.error
import urllib.parse
import urllib.request

CHROMIUM = '/usr/bin/chromium'
CHROMEDRIVER = '/usr/bin/chromedriver'
# Without the background services Chromium makes no connection of its own;
# this machine's network is closed to everything but the registries.
CHROMIUM_FLAGS = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  '--disable-dev-shm-usage', '--window-size=1920,1080', '--force-device-scale-factor=1']


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, fn, timeout=60.0, every=0.1):
    end = time.monotonic() + timeout
    while True:
        value = fn()
        if value:
            return value
        if time.monotonic() > end:
            raise Failure('timed out waiting for ' + what)
        time.sleep(every)


def track_widths(davodu, chart):
    """The widths of the tracks of a chart document, from `davodu dump`, and
    the index of the track holding the GR curve."""
    dump = subprocess.run([davodu, 'dump', chart], check=True, capture_output=True, text=True).stdout
    widths, in_track, gr = [], False, None
    for line in dump.splitlines():
        if line.strip() == '60 "CWpTrack"':
            in_track = True
        elif in_track and line.strip().startswith('153 "Kit"'):
            widths.append(float(line.split()[3].rstrip('f')))
            in_track = False
        elif line.strip() == '100 "GR"' and widths:
            gr = len(widths) - 1
    return widths, gr


def strata(db):
    with sqlite3.connect(db) as c:
        return list(c.execute('SELECT level, name, top, bottom FROM stratum ORDER BY id'))


class Page:
    """The page in the browser, through its hooks (window.davodu)."""

    def __init__(self, driver):
        self.driver = driver

    def ready(self):
        wait_for('the chart images', lambda: self.driver.execute_script(
            'return !!(window.davodu && window.davodu.ready());'))

    def revision(self):
        return self.driver.execute_script('return window.davodu.revision;')

    def idle(self):
        self.driver.execute_async_script(
            'const done = arguments[arguments.length - 1]; window.davodu.idle().then(done);')

    def outline(self):
        o = self.driver.execute_async_script(
            'const done = arguments[arguments.length - 1];'
            'window.davodu.outline().then(done, (e) => done({error: String(e)}));')
        check('error' not in o, 'outline: %s' % o.get('error'))
        return o

    def content(self, title):
        for track in self.outline()['wells'][0]['tracks']:
            for c in track['contents']:
                if c['title'] == title:
                    return c
        return None

    def origin(self):
        return self.driver.execute_script(
            'const r = document.getElementById("chart").getBoundingClientRect();'
            'return [r.left, r.top];')

    def mouse(self):
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
        return ActionBuilder(self.driver, duration=40)

    def at(self, x, y):
        ox, oy = self.origin()
        return int(round(ox + x)), int(round(oy + y))

    def click(self, x, y):
        b = self.mouse()
        b.pointer_action.move_to_location(*self.at(x, y)).pointer_down().pointer_up()
        b.perform()
        self.idle()

    def drag(self, x0, y0, x1, y1, steps=4):
        b = self.mouse()
        p = b.pointer_action.move_to_location(*self.at(x0, y0)).pointer_down()
        for k in range(1, steps + 1):
            p = p.move_to_location(*self.at(x0 + (x1 - x0) * k / steps, y0 + (y1 - y0) * k / steps))
        p.pointer_up()
        b.perform()
        self.idle()

    def right_click(self, x, y):
        from selenium.webdriver.common.actions.mouse_button import MouseButton
        b = self.mouse()
        b.pointer_action.move_to_location(*self.at(x, y)).pointer_down(MouseButton.RIGHT) \
            .pointer_up(MouseButton.RIGHT)
        b.perform()
        self.idle()


def head_middle(c):
    return c['handles']['title_top'][0], (c['head_top'] + c['client_top']) / 2


def test_drag_track_edge(page, davodu, chart_path, driver):
    before, at = track_widths(davodu, chart_path)
    check(at is not None, 'the demo chart document has no GR curve')
    gr = page.content('GR')
    check(gr is not None, 'the demo chart has no GR curve')
    page.click(*head_middle(gr))  # selects the curve
    x, y = gr['handles']['right']
    rev = page.revision()
    page.drag(x, y, x + 40, y)
    wait_for('a new revision', lambda: page.revision() > rev)
    page.ready()
    wider = page.content('GR')
    check(wider['right'] - wider['left'] > gr['right'] - gr['left'] + 30,
          'the curve is not wider on the page: %s -> %s' % (gr, wider))
    driver.find_element('id', 'save').click()
    wait_for('the save', lambda: 'dirty' not in driver.find_element('id', 'save').get_attribute('class'))
    after, _ = track_widths(davodu, chart_path)
    check(len(after) == len(before), 'tracks %s -> %s' % (before, after))
    check(after[at] > before[at] + 800, 'the GR track is not wider in the saved document: %.0f -> %.0f'
          % (before[at], after[at]))


def test_delete_curve_from_menu(page, driver):
    gr = page.content('GR')
    rev = page.revision()
    page.right_click(*head_middle(gr))
    item = wait_for('the menu', lambda: [b for b in driver.find_elements('css selector', '#menu button')
                                         if b.get_attribute('data-id') == '49765'])[0]
    check(item.text == '删除[GR](D)', 'menu item reads %r' % item.text)
    item.click()
    page.idle()
    wait_for('a new revision', lambda: page.revision() > rev)
    page.ready()
    check(page.content('GR') is None, 'GR is still on the chart')
    check(page.content('SP') is not None, 'SP went with GR')


def test_drag_stratum_boundary(page, db):
    before = strata(db)
    column = page.content('段')
    check(column is not None and len(column['segments']) > 1, 'no stratum column with strata')
    # A stratum whose top is inside the chart's body.
    seg = next(s for s in column['segments'] if s['top'] > column['body_top'] + 20)
    x = (column['left'] + column['right']) / 2
    page.click(x, (seg['top'] + seg['bottom']) / 2)  # the stratum becomes the active one
    rev = page.revision()
    page.drag(x, seg['top'], x, seg['top'] + 25)
    wait_for('a new revision', lambda: page.revision() > rev)
    after = strata(db)
    check(after != before, 'the stratum table did not change')
    moved = [(b, a) for b, a in zip(before, after) if b != a]
    check(any(abs(a[2] - seg['top_depth']) > 1 or abs(a[3] - seg['top_depth']) > 1 for _, a in moved),
          'unexpected change: %s' % moved)


def peak_kb(pid):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith('VmHWM:'):
                return int(line.split()[1])
    return 0


def test_refusals(base, token, server, scratch):
    def get(path):
        try:
            with urllib.request.urlopen(base + path) as r:
                return r.status
        except urllib.error.HTTPError as e:
            return e.code
    check(get('/api/charts') == 403, 'a request without the token was answered')
    check(get('/?token=' + 'f' * len(token)) == 403, 'a wrong token was taken')
    check(get('/?token=' + token) == 200, 'the page was refused with the token')
    outside = os.path.join(scratch, 'outside.wpd')
    for chart in ('../outside.wpd', outside):
        code = get('/api/state?' + urllib.parse.urlencode({'token': token, 'chart': chart}))
        check(code == 403, '%s answered %d' % (chart, code))

    host, port = urllib.parse.urlsplit(base).netloc.split(':')
    before = peak_kb(server.pid)
    conn = http.client.HTTPConnection(host, int(port), timeout=60)
    size = 100 << 20
    conn.putrequest('POST', '/api/save')
    conn.putheader('X-Davodu-Token', token)
    conn.putheader('Content-Type', 'application/json')
    conn.putheader('Content-Length', str(size))
    conn.endheaders()
    chunk = b' ' * (1 << 16)
    status = None
    try:
        for _ in range(size // len(chunk)):
            conn.send(chunk)
    except (BrokenPipeError, ConnectionResetError):
        pass  # the server answered and closed before the end
    try:
        status = conn.getresponse().status
    except (http.client.HTTPException, ConnectionError):
        status = None
    conn.close()
    check(status in (413, None), 'a 100 MB body was answered %s' % status)
    grown = peak_kb(server.pid) - before
    check(grown < 50 * 1024, 'the server grew by %d kB taking a 100 MB body' % grown)
    check(get('/api/charts?token=' + token) == 200, 'the server no longer answers')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--davodu', required=True)
    parser.add_argument('--scratch', required=True)
    args = parser.parse_args()

    for path in (CHROMIUM, CHROMEDRIVER):
        if not os.path.exists(path):
            print('%s is missing: run scripts/install-deps.sh' % path)
            print('0 passed, 1 failed')
            return 1
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError:
        print('python3-selenium is missing: run scripts/install-deps.sh')
        print('0 passed, 1 failed')
        return 1

    scratch = os.path.abspath(args.scratch)
    shutil.rmtree(scratch, ignore_errors=True)
    charts = os.path.join(scratch, 'charts')
    os.makedirs(charts)
    subprocess.run([args.davodu, 'demo', '--out', charts], check=True, capture_output=True)
    with open(os.path.join(scratch, 'outside.wpd'), 'wb') as f:
        f.write(b'not a chart')
    db = os.path.join(charts, 'demo.db')
    chart_path = os.path.join(charts, 'demo.wpd')

    server = subprocess.Popen([args.davodu, 'serve', '--db', db, '--dir', charts, '--port', '0'],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    driver = None
    passed, failed = 0, 0
    try:
        url = None
        for line in server.stdout:
            m = re.search(r'open (http://\S+)', line)
            if m:
                url = m.group(1)
                break
        check(url is not None, 'davodu serve printed no address')
        base, token = url.split('/?token=')

        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in CHROMIUM_FLAGS + ['--user-data-dir=' + os.path.join(scratch, 'profile')]:
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        driver.set_script_timeout(60)
        driver.get(url + '#demo.wpd')
        page = Page(driver)
        page.ready()

        tests = [
            ('drag a track edge, save, dump', lambda: test_drag_track_edge(page, args.davodu, chart_path, driver)),
            ('delete a curve from its menu', lambda: test_delete_curve_from_menu(page, driver)),
            ('drag a stratum boundary', lambda: test_drag_stratum_boundary(page, db)),
            ('refusals', lambda: test_refusals(base, token, server, scratch)),
        ]
        for name, fn in tests:
            try:
                fn()
                passed += 1
                print('ok   ' + name)
            except Failure as e:
                failed += 1
                print('FAIL %s: %s' % (name, e))
                driver.save_screenshot(os.path.join(scratch, 'failure.png'))
        driver.save_screenshot(os.path.join(scratch, 'page.png'))
    except Failure as e:
        failed += 1
        print('FAIL setting up: %s' % e)
    finally:
        if driver is not None:
            driver.quit()
        server.terminate()
        try:
            server.wait(timeout=20)
        except subprocess.TimeoutExpired:
            server.kill()
        if server.returncode not in (0, None, -15):
            failed += 1
            print('FAIL davodu serve exited with %s' % server.returncode)
    print('%d passed, %d failed' % (passed, failed))
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
