// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 10,
  reportType: "RT_POLISH",
  dateTime: "2025-03-28 14:10:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.20 ct"],
    ["Measurements", "6.10 × 6.14 × 3.78 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "VS2"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
